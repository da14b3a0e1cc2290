#include "platform/dsound_mixer.h"

#include "platform/sync.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <new>

// How the play cursor follows what is heard: every block the output pulls is anchored at the
// time its first frame will be heard. Between blocks the cursor runs on with the clock from
// the last anchor, up to the end of that block, and it never runs back within a run. So the
// output's latency is taken off and the cursor moves smoothly between callbacks.

namespace {

// Linear gain of a DirectSound attenuation in hundredths of a decibel.
float VolumeGain(LONG volume) {
    if (volume <= DSBVOLUME_MIN) return 0.0f;
    return float(std::pow(10.0, double(std::min<LONG>(volume, DSBVOLUME_MAX)) / 2000.0));
}

// Left and right gains of a DirectSound pan: the far side is attenuated, the near side kept.
void PanGains(LONG pan, float* left, float* right) {
    *left = pan > 0 ? VolumeGain(-pan) : 1.0f;
    *right = pan < 0 ? VolumeGain(pan) : 1.0f;
}

std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

float sampleAt(const std::uint8_t* p, WORD bits) {
    switch (bits) {
    case 8:
        return (int(p[0]) - 128) / 128.0f;
    case 16:
        return std::int16_t(p[0] | p[1] << 8) / 32768.0f;
    default: {
        const auto v = std::int32_t(std::uint32_t(p[0]) << 8 | std::uint32_t(p[1]) << 16 |
                                    std::uint32_t(p[2]) << 24);
        return float(v >> 8) / 8388608.0f;
    }
    }
}

bool lockedByte(const Voice& v, DWORD byte) {
    return v.locked && (byte + v.bytes - v.lockedAt) % v.bytes < v.lockedBytes;
}

// A frame the owner may be writing sounds as silence: the mix never reads it.
void frameAt(const Voice& v, DWORD frame, float* left, float* right) {
    const DWORD at = frame * v.format.nBlockAlign;
    if (lockedByte(v, at) || lockedByte(v, at + v.format.nBlockAlign - 1)) {
        *left = *right = 0.0f;
        return;
    }
    const std::uint8_t* p = v.data.data() + at;
    const WORD bits = v.format.wBitsPerSample;
    *left = sampleAt(p, bits);
    *right = v.format.nChannels > 1 ? sampleAt(p + bits / 8, bits) : *left;
}

void newRun(Voice& v, double now) {
    v.travelled += std::uint64_t(v.heard);
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

// Every notification whose offset the cursor has reached since the last call falls due.
void notifyUpTo(Voice& v, std::int64_t reached, Signals& signals) {
    const std::int64_t span = std::int64_t(v.frames) * v.format.nBlockAlign;
    for (DWORD i = 0; i < v.notifyCount; ++i) {
        const std::int64_t offset = v.notify[i].dwOffset;
        bool due;
        if (v.looping) {
            const std::int64_t next = offset + (floorDiv(v.notifiedTo - offset, span) + 1) * span;
            due = next <= reached;
        } else {
            due = v.notifiedTo < offset && offset <= reached;
        }
        if (due) signals.Add(v.notify[i].hEventNotify);
    }
    v.notifiedTo = std::max(v.notifiedTo, reached);
}

// Brings a playing voice up to now: the cursor as heard, the notifications it has passed,
// and the end of a buffer played once (which stops it and puts its cursor back to 0).
void catchUp(Voice& v, double now, Signals& signals) {
    if (!v.playing) return;
    heardFrames(v, now);
    const std::int64_t align = v.format.nBlockAlign;
    if (!v.looping && runPosition(v) >= v.frames) {
        notifyUpTo(v, std::int64_t(v.frames) * align, signals);
        v.playing = false;
        v.startFrame = 0;
        newRun(v, now);
        return;
    }
    notifyUpTo(v, std::int64_t(runPosition(v)) * align, signals);
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

} // namespace

void Signals::Add(HANDLE event) {
    if (count_ < sizeof due_ / sizeof due_[0]) due_[count_++] = event;
}

void Signals::Fire() {
    for (size_t i = 0; i < count_; ++i) SetEvent(due_[i]);
    count_ = 0;
}

Mixer::Mixer(std::unique_ptr<AudioOutput> output) : output_(std::move(output)) {}

Mixer::~Mixer() {
    if (output_) output_->Stop();
}

bool Mixer::Start() {
    return output_ && output_->Start(this);
}

double Mixer::Now() const {
    return output_ ? output_->Now() : 0.0;
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

Voice* Mixer::AddVoice(const WAVEFORMATEX& format, DWORD bytes) {
    Voice v;
    v.format = format;
    v.bytes = bytes;
    v.frames = bytes / format.nBlockAlign;
    try {
        v.data.assign(bytes, format.wBitsPerSample == 8 ? 0x80 : 0);
        std::lock_guard<std::mutex> lock(mutex_);
        if (voices_.size() >= kMaxVoices) return nullptr;
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

HRESULT Mixer::Lock(Voice& v, DWORD offset, DWORD bytes, void** region1, DWORD* bytes1,
                    void** region2, DWORD* bytes2) {
    if (!region1 || !bytes1) return DSERR_INVALIDPARAM;
    std::lock_guard<std::mutex> lock(mutex_);
    if (v.locked) return DSERR_INVALIDCALL;
    if (offset >= v.bytes || bytes == 0 || bytes > v.bytes) return DSERR_INVALIDPARAM;
    const DWORD first = std::min(bytes, v.bytes - offset);
    const DWORD rest = bytes - first;
    if (rest > 0 && (!region2 || !bytes2)) return DSERR_INVALIDPARAM;
    v.locked = true;
    v.lockedAt = offset;
    v.lockedBytes = bytes;
    *region1 = v.data.data() + offset;
    *bytes1 = first;
    if (region2) *region2 = rest > 0 ? v.data.data() : nullptr;
    if (bytes2) *bytes2 = rest;
    return DS_OK;
}

HRESULT Mixer::Unlock(Voice& v, void* region1, DWORD bytes1, void* region2, DWORD bytes2) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!v.locked) return DSERR_INVALIDCALL;
    const DWORD first = std::min(v.lockedBytes, v.bytes - v.lockedAt);
    const bool asHanded =
        region1 == v.data.data() + v.lockedAt && bytes1 <= first &&
        (!region2 || (region2 == v.data.data() && bytes2 <= v.lockedBytes - first));
    if (!asHanded) return DSERR_INVALIDPARAM;
    v.locked = false;
    return DS_OK;
}

HRESULT Mixer::Play(Voice& v, bool looping) {
    Signals signals;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        const double now = Now();
        catchUp(v, now, signals);
        if (v.playing) return DS_OK; // whichever way it was started
        v.playing = true;
        v.looping = looping;
        newRun(v, now);
        catchUp(v, now, signals); // the offset the cursor starts on is reached at once
    }
    signals.Fire();
    return DS_OK;
}

HRESULT Mixer::Stop(Voice& v) {
    Signals signals;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        const double now = Now();
        catchUp(v, now, signals);
        if (v.playing) {
            v.startFrame = cursorFrame(v);
            v.playing = false;
            newRun(v, now);
        }
    }
    signals.Fire();
    return DS_OK;
}

HRESULT Mixer::GetStatus(Voice& v, DWORD* status) {
    if (!status) return DSERR_INVALIDPARAM;
    Signals signals;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        catchUp(v, Now(), signals);
        *status = v.playing ? DSBSTATUS_PLAYING : 0;
    }
    signals.Fire();
    return DS_OK;
}

HRESULT Mixer::GetCurrentPosition(Voice& v, DWORD* playCursor) {
    Signals signals;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        catchUp(v, Now(), signals);
        *playCursor = (v.playing ? cursorFrame(v) : v.startFrame) * v.format.nBlockAlign;
    }
    signals.Fire();
    return DS_OK;
}

HRESULT Mixer::GetPlayProgress(Voice& v, DWORD* playCursor, std::uint64_t* playedBytes) {
    if (!playCursor || !playedBytes) return DSERR_INVALIDPARAM;
    Signals signals;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        catchUp(v, Now(), signals);
        *playCursor = (v.playing ? cursorFrame(v) : v.startFrame) * v.format.nBlockAlign;
        *playedBytes = (v.travelled + std::uint64_t(v.heard)) * v.format.nBlockAlign;
    }
    signals.Fire();
    return DS_OK;
}

HRESULT Mixer::SetCurrentPosition(Voice& v, DWORD position) {
    Signals signals;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (position >= v.bytes) return DSERR_INVALIDPARAM;
        v.startFrame = std::min(position / v.format.nBlockAlign, v.frames - 1);
        const double now = Now();
        newRun(v, now);
        catchUp(v, now, signals); // a playing buffer reaches the offset it is put on
    }
    signals.Fire();
    return DS_OK;
}

void Mixer::SetVolume(Voice& v, LONG volume) {
    std::lock_guard<std::mutex> lock(mutex_);
    v.volume = volume;
}

LONG Mixer::Volume(Voice& v) {
    std::lock_guard<std::mutex> lock(mutex_);
    return v.volume;
}

void Mixer::SetPan(Voice& v, LONG pan) {
    std::lock_guard<std::mutex> lock(mutex_);
    v.pan = pan;
}

LONG Mixer::Pan(Voice& v) {
    std::lock_guard<std::mutex> lock(mutex_);
    return v.pan;
}

HRESULT Mixer::SetNotificationPositions(Voice& v, DWORD count, const DSBPOSITIONNOTIFY* positions) {
    if (count > kMaxNotifications || (count > 0 && !positions)) return DSERR_INVALIDPARAM;
    std::lock_guard<std::mutex> lock(mutex_);
    if (v.playing) return DSERR_INVALIDCALL;
    for (DWORD i = 0; i < count; ++i)
        if (positions[i].dwOffset >= v.bytes || !positions[i].hEventNotify)
            return DSERR_INVALIDPARAM;
    std::copy(positions, positions + count, v.notify);
    v.notifyCount = count;
    return DS_OK;
}

void Mixer::Mix(float* out, int frames, double now, double heardAt) {
    std::fill(out, out + 2 * frames, 0.0f);
    Signals signals;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        float panLeft, panRight;
        PanGains(masterPan_, &panLeft, &panRight);
        const float master = VolumeGain(masterVolume_);
        for (Voice& v : voices_) {
            catchUp(v, now, signals);
            if (v.playing) mixVoice(v, out, frames, heardAt, master * panLeft, master * panRight);
        }
    }
    signals.Fire();
}

bool Mixer::Peek(size_t index, DWORD offset, DWORD count, VoiceView* view) {
    Signals signals;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (index >= voices_.size()) return false;
        Voice& v = *std::next(voices_.begin(), long(index));
        catchUp(v, Now(), signals);
        view->format = v.format;
        view->bytes = v.bytes;
        view->cursor = (v.playing ? cursorFrame(v) : v.startFrame) * v.format.nBlockAlign;
        view->playing = v.playing;
        view->notify.assign(v.notify, v.notify + v.notifyCount);
        const DWORD end = DWORD(std::min<std::uint64_t>(std::uint64_t(offset) + count, v.bytes));
        view->data.clear();
        // The owner writes a locked range outside this lock: it is never read here.
        const std::uint8_t silence = v.format.wBitsPerSample == 8 ? 0x80 : 0;
        if (!v.locked)
            view->data.assign(v.data.begin() + std::min(offset, end), v.data.begin() + end);
        else
            for (DWORD at = offset; at < end; ++at)
                view->data.push_back(lockedByte(v, at) ? silence : v.data[at]);
    }
    signals.Fire();
    return true;
}
