// The frame fills the largest 4:3 area of its stage (style.css). Where that makes each frame
// pixel a whole number of device pixels, the browser's smoothing would only blur it.
(function () {
    "use strict";

    const WIDTH = 800, HEIGHT = 600;
    const stage = document.getElementById("stage");
    const canvas = document.getElementById("canvas");

    function wholeScale(boxWidth, boxHeight, devicePixels) {
        const scale = Math.min(boxWidth / WIDTH, boxHeight / HEIGHT) * devicePixels;
        return scale >= 1 && Math.abs(scale - Math.round(scale)) < 1e-3;
    }

    function update() {
        const box = stage.getBoundingClientRect();
        canvas.classList.toggle("whole", wholeScale(box.width, box.height, window.devicePixelRatio || 1));
    }

    window.addEventListener("resize", update);
    document.addEventListener("fullscreenchange", update);
    update();
})();
