// Where the browser's sound does not start (no output device, a context that never leaves
// "suspended") or goes away mid-show, the show goes on in silence on a clock paced by
// performance.now(), from where the music was, and still ends on time.
(function () {
    "use strict";

    // How long after the click the audio context may take to start running.
    const START_GRACE_MS = 2000;

    // Seconds of music played, on performance.now(), from `fromSeconds` on.
    function silentTimeline(fromSeconds) {
        const origin = performance.now() / 1000 - fromSeconds;
        return { now: () => performance.now() / 1000 - origin };
    }

    // Resolves to true once the context runs, false if it has not after the grace period.
    function whenRunning(audio, graceMs = START_GRACE_MS) {
        if (audio.state === "running") return Promise.resolve(true);
        return new Promise((resolve) => {
            const timer = setTimeout(() => resolve(audio.state === "running"), graceMs);
            audio.resume().then(
                () => {
                    clearTimeout(timer);
                    resolve(audio.state === "running");
                },
                () => {
                    clearTimeout(timer);
                    resolve(false);
                },
            );
        });
    }

    window.kvSilentClock = { silentTimeline, whenRunning, START_GRACE_MS };
})();
