// Records what a PulseAudio sink plays, through its monitor, and every 10 ms asks the server
// which recorded frame the sink is playing at that moment.
//   sound_monitor SOURCE RECORDING POSITIONS READY
// RECORDING gets raw 16-bit stereo at 44100 Hz; POSITIONS lines of "<CLOCK_MONOTONIC ns>
// <recorded frame>"; READY is created once recording runs. Runs until SIGTERM or SIGINT.
#include <pulse/pulseaudio.h>

#include <cstdint>
#include <cstdio>
#include <ctime>
#include <csignal>
#include <vector>

namespace {

constexpr int kRate = 44100;
constexpr pa_usec_t kAskEvery = 10000;

struct Recorder {
    const char* source;
    const char* readyPath;
    pa_mainloop* loop = nullptr;
    pa_context* context = nullptr;
    pa_stream* stream = nullptr;
    std::vector<char> recording;
    std::vector<std::pair<long long, double>> positions;
    bool failed = false;
};

long long monotonicNs() {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000000000LL + now.tv_nsec;
}

void fail(Recorder& r, const char* what) {
    std::fprintf(stderr, "sound_monitor: %s: %s\n", what, pa_strerror(pa_context_errno(r.context)));
    r.failed = true;
    pa_mainloop_quit(r.loop, 1);
}

void onRead(pa_stream* s, size_t, void* user) {
    auto& r = *static_cast<Recorder*>(user);
    const void* data;
    size_t bytes;
    while (pa_stream_readable_size(s) > 0) {
        if (pa_stream_peek(s, &data, &bytes) < 0) return fail(r, "pa_stream_peek");
        if (bytes == 0) return;
        if (data)
            r.recording.insert(r.recording.end(), static_cast<const char*>(data),
                               static_cast<const char*>(data) + bytes);
        else
            r.recording.insert(r.recording.end(), bytes, 0); // a hole keeps its place
        pa_stream_drop(s);
    }
}

void onTiming(pa_stream* s, int success, void* user) {
    auto& r = *static_cast<Recorder*>(user);
    pa_usec_t usec;
    if (!success || pa_stream_get_time(s, &usec) < 0) return;
    r.positions.emplace_back(monotonicNs(), double(usec) * kRate / 1e6);
}

void onTimer(pa_mainloop_api*, pa_time_event* e, const timeval*, void* user) {
    auto& r = *static_cast<Recorder*>(user);
    if (pa_operation* op = pa_stream_update_timing_info(r.stream, onTiming, &r))
        pa_operation_unref(op);
    pa_context_rttime_restart(r.context, e, pa_rtclock_now() + kAskEvery);
}

void onStreamState(pa_stream* s, void* user) {
    auto& r = *static_cast<Recorder*>(user);
    switch (pa_stream_get_state(s)) {
    case PA_STREAM_READY: {
        if (std::FILE* f = std::fopen(r.readyPath, "w")) std::fclose(f);
        pa_context_rttime_new(r.context, pa_rtclock_now() + kAskEvery, onTimer, &r);
        break;
    }
    case PA_STREAM_FAILED:
        return fail(r, "recording stream");
    default:
        break;
    }
}

void onContextState(pa_context* c, void* user) {
    auto& r = *static_cast<Recorder*>(user);
    switch (pa_context_get_state(c)) {
    case PA_CONTEXT_READY: {
        const pa_sample_spec format{PA_SAMPLE_S16LE, kRate, 2};
        r.stream = pa_stream_new(c, "sound-monitor", &format, nullptr);
        if (!r.stream) return fail(r, "pa_stream_new");
        pa_stream_set_state_callback(r.stream, onStreamState, &r);
        pa_stream_set_read_callback(r.stream, onRead, &r);
        pa_buffer_attr attr{};
        attr.maxlength = std::uint32_t(-1);
        attr.fragsize = std::uint32_t(pa_usec_to_bytes(kAskEvery, &format));
        const auto flags = pa_stream_flags_t(PA_STREAM_ADJUST_LATENCY | PA_STREAM_DONT_MOVE);
        if (pa_stream_connect_record(r.stream, r.source, &attr, flags) < 0)
            return fail(r, "pa_stream_connect_record");
        break;
    }
    case PA_CONTEXT_FAILED:
    case PA_CONTEXT_TERMINATED:
        return fail(r, "server connection");
    default:
        break;
    }
}

void onSignal(pa_mainloop_api*, pa_signal_event*, int, void* user) {
    pa_mainloop_quit(static_cast<Recorder*>(user)->loop, 0);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: sound_monitor SOURCE RECORDING POSITIONS READY\n");
        return 2;
    }
    Recorder r;
    r.source = argv[1];
    r.readyPath = argv[4];
    r.loop = pa_mainloop_new();
    pa_mainloop_api* api = pa_mainloop_get_api(r.loop);
    pa_signal_init(api);
    pa_signal_new(SIGTERM, onSignal, &r);
    pa_signal_new(SIGINT, onSignal, &r);
    r.context = pa_context_new(api, "sound-monitor");
    pa_context_set_state_callback(r.context, onContextState, &r);
    if (pa_context_connect(r.context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
        fail(r, "pa_context_connect");
        return 1;
    }
    int result = 0;
    pa_mainloop_run(r.loop, &result);

    std::FILE* rec = std::fopen(argv[2], "wb");
    std::FILE* pos = std::fopen(argv[3], "w");
    if (!rec || !pos) {
        std::fprintf(stderr, "sound_monitor: cannot write the results\n");
        return 1;
    }
    std::fwrite(r.recording.data(), 1, r.recording.size(), rec);
    for (const auto& [at, frame] : r.positions) std::fprintf(pos, "%lld %.3f\n", at, frame);
    const bool written = std::fclose(rec) == 0 && std::fclose(pos) == 0;
    return r.failed || !written ? 1 : 0;
}
