// The frame fills the largest 4:3 area of its stage (style.css). Where that makes each frame
// pixel a whole number of device pixels, the browser's smoothing would only blur it. The canvas
// has the frame's size once the module has started (update() again then).
(function () {
    "use strict";

    const stage = document.getElementById("stage");
    const canvas = document.getElementById("canvas");

    function wholeScale(boxWidth, boxHeight, devicePixels) {
        const scale = Math.min(boxWidth / canvas.width, boxHeight / canvas.height) * devicePixels;
        return scale >= 1 && Math.abs(scale - Math.round(scale)) < 1e-3;
    }

    function update() {
        const box = stage.getBoundingClientRect();
        canvas.classList.toggle("whole", wholeScale(box.width, box.height, window.devicePixelRatio || 1));
    }

    window.addEventListener("resize", update);
    document.addEventListener("fullscreenchange", update);
    update();
    window.kvLayout = { update };
})();
