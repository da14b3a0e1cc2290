// The show in a page: the title until a click or key (browsers let sound start only then),
// then one frame per animation frame at the clock of what is heard, until the show ends by
// itself or Escape ends it. A test-only query (?clock=, ?ms=, ?frame=, with ?len=) draws one
// still instead, as a 60 fps run would have drawn it; the module finds and draws it.
(function () {
    "use strict";

    const clock = window.kvClock;
    const canvas = document.getElementById("canvas");
    const stage = document.getElementById("stage");
    const title = document.getElementById("title");
    const status = document.getElementById("status");
    const fullscreenButton = document.getElementById("fullscreen");
    const hint = document.getElementById("hint");
    const notice = document.getElementById("notice");
    const silentClock = window.kvSilentClock;

    // The line under the picture says what a key or click does now.
    const HINTS = {
        loading: "Loading the show…",
        title: "Click or press a key to start · Esc ends the show",
        starting: "Starting…",
        playing: "Esc ends the show",
        ended: "Click or press a key to play it again",
        failed: "The show cannot play here",
    };
    const MUSIC = "Data/tech.ogg";
    const NO_WEBGL2 =
        "This browser gives the page no WebGL 2, which the show draws with. Use a current " +
        "Firefox, Chrome or Edge with hardware acceleration turned on.";

    // What the page is doing, for anyone watching from outside (the browser tests).
    const state = (window.kvShow = {
        phase: "loading", // loading, title, starting, playing, ended, failed
        frames: 0,
        playMs: 0,
        totalMs: 0,
        audioTime: 0, // the audio context's time since the music started, at the last frame
        latency: 0,
        // Milliseconds since the page was opened: ready for the click, started, first frame.
        readyAt: null,
        startedAt: null,
        firstFrameAt: null,
        get audioState() {
            return audio ? audio.state : "none";
        },
    });

    function say(text) {
        status.textContent = text;
    }

    function enter(phase) {
        state.phase = phase;
        hint.textContent = HINTS[phase] || "";
        stage.classList.toggle("playing", phase === "playing");
    }

    function showNotice(text) {
        notice.textContent = text;
        notice.hidden = !text;
        if (text) console.warn("kelvaster: " + text);
    }

    function fail(text) {
        enter("failed");
        title.hidden = false;
        say(text);
        console.error("kelvaster: " + text);
    }

    async function fetchBytes(path, onProgress) {
        const response = await fetch(path);
        if (!response.ok) throw new Error(path + ": " + response.status + " " + response.statusText);
        const total = Number(response.headers.get("Content-Length")) || 0;
        if (!onProgress || !response.body || !total) return response.arrayBuffer();
        const bytes = new Uint8Array(total);
        const reader = response.body.getReader();
        let got = 0;
        for (;;) {
            const { done, value } = await reader.read();
            if (done) break;
            if (got + value.length > total) throw new Error(path + ": longer than announced");
            bytes.set(value, got);
            got += value.length;
            onProgress(got / total);
        }
        if (got !== total) throw new Error(path + ": cut short at " + got + " of " + total + " bytes");
        return bytes.buffer;
    }

    // Both downloads at once, each with its share done.
    const progress = { music: 0, pictures: 0 };
    function showProgress() {
        if (state.phase !== "loading") return;
        const percent = (f) => Math.floor(f * 100) + "%";
        say("loading… music " + percent(progress.music) + ", pictures " + percent(progress.pictures));
    }

    // The module's loader reports "… (loaded/total)" while it fetches the pictures.
    function pictureStatus(text) {
        const m = /\((\d+)\/(\d+)\)/.exec(text || "");
        if (m && Number(m[2]) > 0) progress.pictures = Number(m[1]) / Number(m[2]);
        else if (text === "" || /^Running/.test(text || "")) progress.pictures = 1;
        showProgress();
    }

    async function loadEngine() {
        if (typeof window.createKelvaster !== "function")
            throw new Error("kelvaster.js did not load");
        const module = await window.createKelvaster({ canvas, setStatus: pictureStatus });
        progress.pictures = 1;
        showProgress();
        const lengthOf = module.cwrap("kv_music_length", "number", []);
        const rateOf = module.cwrap("kv_music_rate", "number", []);
        const refusal = module.cwrap("kv_music_error", "string", []);
        const engine = {
            init: module.cwrap("kv_init", "number", []),
            frame: module.cwrap("kv_frame", "number", ["number", "number"]),
            reset: module.cwrap("kv_reset", null, []),
            still: module.cwrap("kv_still", "number", ["number", "number", "number"]),
            // The engine reads the music where the native program finds it; the length in ms
            // and the rate, or the engine's own words for a file it refuses.
            readMusic(bytes) {
                module.FS.writeFile(MUSIC, new Uint8Array(bytes));
                const totalMs = lengthOf();
                module.FS.unlink(MUSIC);
                if (!(totalMs > 0)) throw new Error(refusal());
                return { totalMs, rate: rateOf() };
            },
        };
        const code = engine.init();
        if (code === 1) throw new Error(NO_WEBGL2);
        if (code !== 0) throw new Error("the show could not start its graphics (code " + code + ")");
        window.kvLayout.update(); // the module has given the canvas the frame's size
        return engine;
    }

    // ---- Stills for tests -------------------------------------------------------------------

    function stillRequest(params) {
        const keys = ["clock", "ms", "frame"].filter((k) => params.has(k));
        if (keys.length === 0) return null;
        if (keys.length > 1) throw new Error("give one of ?clock=, ?ms= or ?frame=");
        const key = keys[0];
        const value = Number(params.get(key));
        const ok = key === "clock" ? value >= 0 && value <= 1 : Number.isInteger(value) && value >= 0;
        if (!ok) throw new Error("bad ?" + key + "=" + params.get(key));
        let len = null;
        if (params.has("len")) {
            len = Number(params.get("len"));
            if (!(Number.isInteger(len) && len > 0)) throw new Error("bad ?len=" + params.get("len"));
        }
        return { key, value, len };
    }

    const STILL_BY = { frame: 0, ms: 1, clock: 2 };

    async function runStill(request) {
        title.hidden = true;
        document.body.classList.add("still");
        const [bytes, engine] = await Promise.all([request.len ? null : fetchBytes(MUSIC), loadEngine()]);
        const totalMs = request.len || engine.readMusic(bytes).totalMs;
        state.totalMs = totalMs;
        const frame = engine.still(STILL_BY[request.key], request.value, totalMs);
        if (frame < 0) throw new Error("that moment is past the show's end");
        window.kvStill = { frame, totalMs };
        enter("still");
        // Ready once the frame has reached the screen.
        requestAnimationFrame(() => requestAnimationFrame(() => (window.kvReady = true)));
    }

    // ---- The show -----------------------------------------------------------------------------

    let engine = null;
    let music = null; // decoded AudioBuffer
    let musicRate = 0;
    let audio = null; // AudioContext, made on the first click
    let source = null;
    let startTime = 0;
    let pendingStart = false;
    let silent = null; // the performance.now() timeline, once the sound is not to be had

    function latency() {
        if (audio.outputLatency > 0) return audio.outputLatency;
        if (audio.baseLatency > 0) return audio.baseLatency;
        return 0;
    }

    function stopAudio() {
        if (source) {
            source.onended = null;
            try {
                source.stop();
            } catch (e) {
                // already stopped
            }
            source.disconnect();
            source = null;
        }
        if (audio && audio.state === "running") audio.suspend();
    }

    function frame() {
        if (state.phase !== "playing") return;
        if (!silent && audio.state !== "running") playSilently("the sound device went away");
        if (silent) {
            state.audioTime = silent.now();
            state.latency = 0;
            state.playMs = clock.heardMs(state.audioTime, 0, 0, state.totalMs);
        } else {
            // Read once: the audio thread moves currentTime on between two reads in one task.
            const now = audio.currentTime;
            state.audioTime = now - startTime;
            state.latency = latency();
            state.playMs = clock.heardMs(now, startTime, state.latency, state.totalMs);
        }
        let ended;
        try {
            ended = engine.frame(state.playMs, state.totalMs);
        } catch (e) {
            stopAudio();
            fail("the show stopped: " + e.message);
            return;
        }
        ++state.frames;
        if (state.firstFrameAt === null) {
            state.firstFrameAt = performance.now();
            title.hidden = true;
        }
        if (ended) finish("The show is over.");
        else requestAnimationFrame(frame);
    }

    // Made inside the click or key that starts the show: browsers let sound start only then.
    function openAudio() {
        if (audio) return;
        try {
            // At the music's own rate the context plays it without resampling.
            audio = musicRate ? new AudioContext({ sampleRate: musicRate }) : new AudioContext();
        } catch (e) {
            audio = new AudioContext();
        }
    }

    // From here on the show follows performance.now() from where the music was, in silence.
    function playSilently(why) {
        const at = audio && audio.state === "running" ? Math.max(0, audio.currentTime - startTime - latency()) : 0;
        const from = state.phase === "playing" ? Math.max(at, state.playMs / 1000) : 0;
        stopAudio();
        silent = silentClock.silentTimeline(from);
        showNotice("No sound: " + why + "; the show plays without it.");
    }

    async function start() {
        if (state.phase === "failed") return;
        openAudio();
        if (state.phase === "loading") {
            pendingStart = true;
            return;
        }
        if (state.phase !== "title" && state.phase !== "ended") return;
        enter("starting");
        say("starting…");
        state.startedAt = performance.now();
        state.firstFrameAt = null;
        silent = null;
        showNotice("");
        const running = await silentClock.whenRunning(audio);
        if (state.phase !== "starting") return; // Escape while the sound was starting
        if (state.frames > 0) engine.reset();
        state.frames = 0;
        if (running) {
            source = audio.createBufferSource();
            source.buffer = music;
            source.connect(audio.destination);
            startTime = audio.currentTime;
            source.start(startTime);
        } else {
            playSilently("the browser's audio did not start");
        }
        stage.classList.remove("closed");
        enter("playing");
        requestAnimationFrame(frame);
    }

    // The last frame stays, dimmed, under a quiet note: the closing frame.
    function finish(text) {
        if (state.phase !== "playing" && state.phase !== "starting") return;
        enter("ended");
        stopAudio();
        stage.classList.add("closed");
        title.hidden = false;
        say(text + " Click or press a key to play it again.");
    }

    function toggleFullscreen() {
        if (document.fullscreenElement) document.exitFullscreen();
        else if (stage.requestFullscreen) stage.requestFullscreen().catch(() => {});
    }

    function onKey(event) {
        if (event.key === "f" || event.key === "F") {
            toggleFullscreen();
        } else if (event.key === "Escape") {
            pendingStart = false;
            finish("The show was ended.");
        } else if ((event.key.length === 1 || event.key === "Enter") && !event.repeat &&
                   !event.ctrlKey && !event.altKey && !event.metaKey) {
            start();
        } else {
            return;
        }
        event.preventDefault();
    }

    async function prepare() {
        enter("loading");
        showProgress();
        const [bytes, loaded] = await Promise.all([
            fetchBytes(MUSIC, (f) => {
                progress.music = f;
                showProgress();
            }),
            loadEngine(),
        ]);
        const read = loaded.readMusic(bytes);
        state.totalMs = read.totalMs;
        musicRate = read.rate;
        // Decoded off the page's own audio context, which may only be made after a click; the
        // decoder's channel count does not bind the decoded buffer's.
        music = await new OfflineAudioContext(1, 1, read.rate).decodeAudioData(bytes);
        engine = loaded;
        enter("title");
        state.readyAt = performance.now();
        say("click to start");
        if (pendingStart) start();
    }

    fullscreenButton.addEventListener("click", (event) => {
        event.stopPropagation();
        toggleFullscreen();
    });

    let request = null;
    try {
        request = stillRequest(new URLSearchParams(location.search));
    } catch (e) {
        fail(e.message);
        return;
    }
    if (request) {
        runStill(request).catch((e) => fail(e.message));
        return;
    }
    document.addEventListener("keydown", onKey);
    stage.addEventListener("click", () => start());
    prepare().catch((e) => fail(e.message));
})();
