#include "platform/dsound_mixer.h"

#include "platform/sync.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

// How the play cursor follows what is heard: every block the output pulls is anchored at the
// time its first frame will be heard. Between blocks the cursor runs on with the clock from
// the last anchor, up to the end of that block, and it never runs back within a run. So the
// output's latency is taken off and the cursor moves smoothly between callbacks.

namespace {

std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

float sampleAt(const std::uint8_t* p, WORD bits) {
    switch (bits) {
    case 8:
        return (int(p[0]) - 128) / 128.0f;
    case 16:
        return std::int16_t(p[0] | p[1] << 8) / 32768.0f;
    case 24: {
        const auto v = std::int32_t(std::uint32_t(p[0]) << 8 | std::uint32_t(p[1]) << 16 |
                                    std::uint32_t(p[2]) << 24);
        return float(v >> 8) / 8388608.0f;
    }
    case 32: {
        const auto v = std::int32_t(std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 |
                                    std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24);
        return float(double(v) / 2147483648.0);
    }
    default:
        return 0.0f;
    }
}

void frameAt(const Voice& v, DWORD frame, float* left, float* right) {
    const std::uint8_t* p = v.data.data() + size_t(frame) * v.format.nBlockAlign;
    const WORD bits = v.format.wBitsPerSample;
    *left = sampleAt(p, bits);
    *right = v.format.nChannels > 1 ? sampleAt(p + bits / 8, bits) : *left;
}

void newRun(Voice& v, double now) {
    v.runStartedAt = now;
    v.shift = 0;
    v.mixed = 0;
    v.heard = 0;
    v.anchored = false;
    v.notifiedTo = std::int64_t(v.startFrame) * v.format.nBlockAlign - 1;
}

double heardFrames(Voice& v, double now) {
    if (v.anchored) {
        // Whole frames: the cursor is a byte offset of whole frames anyway, and rounding keeps
        // times that land on a frame from falling just short of it.
        const double run = std::round((now - v.anchorAt) * v.format.nSamplesPerSec);
        const double h = v.anchorFrames + std::min(run, v.anchorSpan);
        if (h > v.heard) v.heard = h;
    }
    return v.heard;
}

std::uint64_t runPosition(const Voice& v) {
    return v.startFrame + std::uint64_t(v.heard);
}

DWORD cursorFrame(const Voice& v) {
    return DWORD(runPosition(v) % v.frames);
}

// Signals every notification whose offset the cursor has reached since the last call.
void signalUpTo(Voice& v, std::int64_t reached) {
    const std::int64_t span = std::int64_t(v.frames) * v.format.nBlockAlign;
    for (const DSBPOSITIONNOTIFY& n : v.notify) {
        const std::int64_t offset = n.dwOffset;
        bool due;
        if (v.looping) {
            const std::int64_t next = offset + (floorDiv(v.notifiedTo - offset, span) + 1) * span;
            due = next <= reached;
        } else {
            due = v.notifiedTo < offset && offset <= reached;
        }
        if (due) SetEvent(n.hEventNotify);
    }
    v.notifiedTo = std::max(v.notifiedTo, reached);
}

void mixVoice(Voice& v, float* out, int frames, double heardAt, float masterLeft,
              float masterRight) {
    float panLeft, panRight;
    PanGains(v.pan, &panLeft, &panRight);
    const float gain = VolumeGain(v.volume);
    const float gainLeft = gain * panLeft * masterLeft;
    const float gainRight = gain * panRight * masterRight;
    const double step = double(v.format.nSamplesPerSec) / kMixRate;

    double pos = double(v.startFrame) + v.mixed;
    if (v.looping) pos = std::fmod(pos, double(v.frames));
    double consumed = 0;
    for (int i = 0; i < frames; ++i) {
        if (!v.looping && pos >= v.frames) break;
        const DWORD f0 = DWORD(pos);
        const float frac = float(pos - f0);
        float left, right;
        frameAt(v, f0, &left, &right);
        if (frac > 0) {
            DWORD f1 = f0 + 1;
            if (f1 >= v.frames) f1 = v.looping ? 0 : f0;
            float left1, right1;
            frameAt(v, f1, &left1, &right1);
            left += (left1 - left) * frac;
            right += (right1 - right) * frac;
        }
        out[2 * i] += left * gainLeft;
        out[2 * i + 1] += right * gainRight;
        pos += step;
        if (v.looping && pos >= v.frames) pos -= v.frames;
        consumed += step;
    }
    // A buffer played once and mixed to its end adds nothing: its last block stays the anchor,
    // or the cursor would be put off again with every block and never reach the end.
    if (consumed == 0) return;
    // An output running late may pull a block whose sound should have begun before the run
    // did; the run then starts when it started, not earlier, and keeps that offset.
    if (!v.anchored) v.shift = std::max(0.0, v.runStartedAt - heardAt);
    v.anchorFrames = v.mixed;
    v.anchorAt = heardAt + v.shift;
    v.anchorSpan = consumed;
    v.anchored = true;
    v.mixed += consumed;
}

bool insideShadow(const Voice& v, const void* region, DWORD bytes) {
    const auto* p = static_cast<const std::uint8_t*>(region);
    const std::uint8_t* begin = v.shadow.data();
    return p >= begin && p <= begin + v.shadow.size() &&
           bytes <= size_t(begin + v.shadow.size() - p);
}

} // namespace

float VolumeGain(LONG volume) {
    if (volume <= DSBVOLUME_MIN) return 0.0f;
    return float(std::pow(10.0, double(std::min(volume, DSBVOLUME_MAX)) / 2000.0));
}

void PanGains(LONG pan, float* left, float* right) {
    *left = pan > 0 ? VolumeGain(-pan) : 1.0f;
    *right = pan < 0 ? VolumeGain(pan) : 1.0f;
}

Mixer::Mixer(std::unique_ptr<AudioOutput> output) : output_(std::move(output)) {
    primaryFormat_ = {WAVE_FORMAT_PCM, 2, 22050, 88200, 4, 16, 0};
}

Mixer::~Mixer() {
    if (output_) output_->Stop();
}

bool Mixer::Start() {
    return output_ && output_->Start(this);
}

double Mixer::Now() const {
    return output_ ? output_->Now() : 0.0;
}

void Mixer::SetCooperativeLevel(DWORD level) {
    std::lock_guard<std::mutex> lock(mutex_);
    level_ = level;
}
DWORD Mixer::CooperativeLevel() {
    std::lock_guard<std::mutex> lock(mutex_);
    return level_;
}
void Mixer::SetPrimaryFormat(const WAVEFORMATEX& format) {
    std::lock_guard<std::mutex> lock(mutex_);
    primaryFormat_ = format;
}
WAVEFORMATEX Mixer::PrimaryFormat() {
    std::lock_guard<std::mutex> lock(mutex_);
    return primaryFormat_;
}
void Mixer::SetMasterVolume(LONG volume) {
    std::lock_guard<std::mutex> lock(mutex_);
    masterVolume_ = volume;
}
LONG Mixer::MasterVolume() {
    std::lock_guard<std::mutex> lock(mutex_);
    return masterVolume_;
}
void Mixer::SetMasterPan(LONG pan) {
    std::lock_guard<std::mutex> lock(mutex_);
    masterPan_ = pan;
}
LONG Mixer::MasterPan() {
    std::lock_guard<std::mutex> lock(mutex_);
    return masterPan_;
}

Voice* Mixer::AddVoice(const WAVEFORMATEX& format, DWORD bytes, DWORD flags) {
    Voice v;
    v.format = format;
    v.flags = flags;
    v.bytes = bytes;
    v.frames = bytes / format.nBlockAlign;
    try {
        v.data.assign(bytes, format.wBitsPerSample == 8 ? 0x80 : 0);
        v.shadow.assign(bytes, 0);
        std::lock_guard<std::mutex> lock(mutex_);
        voices_.push_back(std::move(v));
        return &voices_.back();
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

void Mixer::RemoveVoice(Voice* voice) {
    std::lock_guard<std::mutex> lock(mutex_);
    voices_.remove_if([voice](const Voice& v) { return &v == voice; });
}

// Brings a playing voice up to now: the cursor as heard, the notifications it has passed,
// and the end of a buffer played once (which stops it and puts its cursor back to 0).
void Mixer::Catch(Voice& v, double now) {
    if (!v.playing) return;
    heardFrames(v, now);
    const std::int64_t align = v.format.nBlockAlign;
    if (!v.looping && runPosition(v) >= v.frames) {
        signalUpTo(v, std::int64_t(v.frames) * align);
        v.playing = false;
        v.startFrame = 0;
        newRun(v, now);
        return;
    }
    signalUpTo(v, std::int64_t(runPosition(v)) * align);
}

HRESULT Mixer::Lock(Voice& v, DWORD offset, DWORD bytes, void** region1, DWORD* bytes1,
                    void** region2, DWORD* bytes2, DWORD flags) {
    if (!region1 || !bytes1) return DSERR_INVALIDPARAM;
    std::lock_guard<std::mutex> lock(mutex_);
    if (flags & DSBLOCK_ENTIREBUFFER) bytes = v.bytes;
    if (flags & DSBLOCK_FROMWRITECURSOR)
        offset = DWORD((v.startFrame + std::uint64_t(v.mixed)) % v.frames) * v.format.nBlockAlign;
    if (offset >= v.bytes || bytes == 0 || bytes > v.bytes) return DSERR_INVALIDPARAM;
    const DWORD first = std::min(bytes, v.bytes - offset);
    const DWORD rest = bytes - first;
    if (rest > 0 && (!region2 || !bytes2)) return DSERR_INVALIDPARAM;
    std::memcpy(v.shadow.data() + offset, v.data.data() + offset, first);
    std::memcpy(v.shadow.data(), v.data.data(), rest);
    *region1 = v.shadow.data() + offset;
    *bytes1 = first;
    if (region2) *region2 = rest > 0 ? v.shadow.data() : nullptr;
    if (bytes2) *bytes2 = rest;
    return DS_OK;
}

HRESULT Mixer::Unlock(Voice& v, void* region1, DWORD bytes1, void* region2, DWORD bytes2) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (region1 && !insideShadow(v, region1, bytes1)) return DSERR_INVALIDPARAM;
    if (region2 && !insideShadow(v, region2, bytes2)) return DSERR_INVALIDPARAM;
    for (auto [region, bytes] : {std::pair{region1, bytes1}, std::pair{region2, bytes2}}) {
        if (!region) continue;
        const size_t at = static_cast<std::uint8_t*>(region) - v.shadow.data();
        std::memcpy(v.data.data() + at, region, bytes);
    }
    return DS_OK;
}

HRESULT Mixer::Play(Voice& v, DWORD flags) {
    std::lock_guard<std::mutex> lock(mutex_);
    const bool looping = (flags & DSBPLAY_LOOPING) != 0;
    const double now = Now();
    Catch(v, now);
    if (v.playing) {
        if (v.looping == looping) return DS_OK;
        // Looping and playing once count positions differently: go on from the cursor.
        v.startFrame = cursorFrame(v);
    }
    v.playing = true;
    v.looping = looping;
    newRun(v, now);
    Catch(v, now); // the offset the cursor starts on is reached at once
    return DS_OK;
}

HRESULT Mixer::Stop(Voice& v) {
    std::lock_guard<std::mutex> lock(mutex_);
    const double now = Now();
    Catch(v, now);
    if (v.playing) {
        v.startFrame = cursorFrame(v);
        v.playing = false;
        newRun(v, now);
    }
    return DS_OK;
}

HRESULT Mixer::GetStatus(Voice& v, DWORD* status) {
    if (!status) return DSERR_INVALIDPARAM;
    std::lock_guard<std::mutex> lock(mutex_);
    Catch(v, Now());
    *status = v.playing ? DSBSTATUS_PLAYING | (v.looping ? DSBSTATUS_LOOPING : 0) : 0;
    return DS_OK;
}

HRESULT Mixer::GetCurrentPosition(Voice& v, DWORD* playCursor, DWORD* writeCursor) {
    std::lock_guard<std::mutex> lock(mutex_);
    Catch(v, Now());
    const DWORD align = v.format.nBlockAlign;
    const DWORD play = (v.playing ? cursorFrame(v) : v.startFrame) * align;
    if (playCursor) *playCursor = play;
    if (writeCursor)
        *writeCursor =
            v.playing ? DWORD((v.startFrame + std::uint64_t(v.mixed)) % v.frames) * align : play;
    return DS_OK;
}

HRESULT Mixer::SetCurrentPosition(Voice& v, DWORD position) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (position >= v.bytes) return DSERR_INVALIDPARAM;
    v.startFrame = std::min(position / v.format.nBlockAlign, v.frames - 1);
    const double now = Now();
    newRun(v, now);
    Catch(v, now); // a playing buffer reaches the offset it is put on
    return DS_OK;
}

HRESULT Mixer::SetVolume(Voice& v, LONG volume) {
    if (!(v.flags & DSBCAPS_CTRLVOLUME)) return DSERR_CONTROLUNAVAIL;
    if (volume < DSBVOLUME_MIN || volume > DSBVOLUME_MAX) return DSERR_INVALIDPARAM;
    std::lock_guard<std::mutex> lock(mutex_);
    v.volume = volume;
    return DS_OK;
}

HRESULT Mixer::GetVolume(Voice& v, LONG* volume) {
    if (!(v.flags & DSBCAPS_CTRLVOLUME)) return DSERR_CONTROLUNAVAIL;
    if (!volume) return DSERR_INVALIDPARAM;
    std::lock_guard<std::mutex> lock(mutex_);
    *volume = v.volume;
    return DS_OK;
}

HRESULT Mixer::SetPan(Voice& v, LONG pan) {
    if (!(v.flags & DSBCAPS_CTRLPAN)) return DSERR_CONTROLUNAVAIL;
    if (pan < DSBPAN_LEFT || pan > DSBPAN_RIGHT) return DSERR_INVALIDPARAM;
    std::lock_guard<std::mutex> lock(mutex_);
    v.pan = pan;
    return DS_OK;
}

HRESULT Mixer::GetPan(Voice& v, LONG* pan) {
    if (!(v.flags & DSBCAPS_CTRLPAN)) return DSERR_CONTROLUNAVAIL;
    if (!pan) return DSERR_INVALIDPARAM;
    std::lock_guard<std::mutex> lock(mutex_);
    *pan = v.pan;
    return DS_OK;
}

HRESULT Mixer::SetNotificationPositions(Voice& v, DWORD count, const DSBPOSITIONNOTIFY* positions) {
    if (count > 0 && !positions) return DSERR_INVALIDPARAM;
    std::lock_guard<std::mutex> lock(mutex_);
    if (v.playing) return DSERR_INVALIDCALL;
    for (DWORD i = 0; i < count; ++i)
        if (positions[i].dwOffset >= v.bytes || !positions[i].hEventNotify)
            return DSERR_INVALIDPARAM;
    v.notify.assign(positions, positions + count);
    return DS_OK;
}

void Mixer::Mix(float* out, int frames, double now, double heardAt) {
    std::fill(out, out + 2 * frames, 0.0f);
    std::lock_guard<std::mutex> lock(mutex_);
    float panLeft, panRight;
    PanGains(masterPan_, &panLeft, &panRight);
    const float master = VolumeGain(masterVolume_);
    for (Voice& v : voices_) {
        Catch(v, now);
        if (v.playing) mixVoice(v, out, frames, heardAt, master * panLeft, master * panRight);
    }
}
