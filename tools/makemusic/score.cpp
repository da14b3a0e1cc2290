#include "score.h"

#include <iterator>

namespace {

enum class Part { Intro, Groove, Light, Dark, Outro };

// Where each section starts, in bars; the scenes of the show change at the same places.
struct Section {
    int firstBar;
    Part part;
};
constexpr Section kSections[] = {
    {0, Part::Intro},  // scene one, 0 s: one kick per beat, one cube per beat
    {8, Part::Groove}, // scene two, 16 s
    {24, Part::Light}, // scene three, 48 s
    {48, Part::Dark},  // its dark half, 96 s
    {72, Part::Outro}, // scene four, 144 s
};

Part partOf(int bar, int* barInPart) {
    int i = 0;
    while (i + 1 < int(std::size(kSections)) && kSections[i + 1].firstBar <= bar) ++i;
    *barInPart = bar - kSections[i].firstBar;
    return kSections[i].part;
}

// One chord a bar, four-bar cycles: A minor for the light parts, D minor for the dark one.
struct Chord {
    int bass;   // MIDI note of the bass root
    int pad[3]; // the pad's voicing
};
constexpr Chord kLightChords[4] = {
    {45, {57, 60, 64}}, // Am
    {41, {57, 60, 65}}, // F
    {48, {55, 60, 64}}, // C
    {43, {55, 59, 62}}, // G
};
constexpr Chord kDarkChords[4] = {
    {38, {57, 62, 65}}, // Dm
    {34, {58, 62, 65}}, // Bb
    {43, {55, 58, 62}}, // Gm
    {45, {57, 61, 64}}, // A
};

// Melodies as (beat within the phrase, length in beats, MIDI note); each phrase is four bars.
struct Step {
    double beat, beats;
    int pitch;
};
constexpr Step kPhraseA[] = {
    {0, 1.5, 76},    {1.5, 0.5, 74}, {2, 1, 72},     {3, 1, 69},  {4, 1, 72},  {5, 0.5, 69},
    {5.5, 0.5, 72},  {6, 1.5, 77},   {7.5, 0.5, 76}, {8, 1, 76},  {9, 1, 79},  {10, 0.5, 76},
    {10.5, 0.5, 74}, {11, 1, 72},    {12, 2, 74},    {14, 1, 71}, {15, 1, 67},
};
constexpr Step kPhraseB[] = {
    {0, 1, 81},   {1, 0.5, 79},   {1.5, 1, 76}, {2.5, 0.5, 74}, {3, 1, 76},     {4, 1, 77},
    {5, 0.5, 76}, {5.5, 1.5, 72}, {7, 1, 69},   {8, 0.5, 67},   {8.5, 0.5, 72}, {9, 1, 76},
    {10, 1, 79},  {11, 1, 76},    {12, 3, 74},  {15, 1, 71},
};
constexpr Step kPhraseEnd[] = {
    {0, 1, 81}, {1, 0.5, 79}, {1.5, 1, 76}, {2.5, 0.5, 74}, {3, 1, 76},  {4, 1, 77},
    {5, 1, 76}, {6, 2, 72},   {8, 1, 71},   {9, 1, 72},     {10, 6, 69},
};
constexpr Step kPhraseDark[] = {
    {0, 1, 69},    {1, 1, 74},      {2, 1.5, 77}, {3.5, 0.5, 76}, {4, 1, 74},
    {5, 1, 77},    {6, 2, 70},      {8, 1, 67},   {9, 1, 70},     {10, 1, 74},
    {11, 0.5, 72}, {11.5, 0.5, 70}, {12, 2, 69},  {14, 1, 73},    {15, 1, 76},
};

// Sixteenth-note arpeggio over the chord: indices into {pad[0], pad[1], pad[2], pad[0] + 12}.
constexpr int kArp[16] = {0, 1, 2, 3, 2, 1, 0, 1, 2, 3, 2, 1, 0, 1, 2, 3};
// Closed-hat loudness over the sixteenths of a beat.
constexpr float kHatAccent[4] = {0.6f, 0.35f, 1.0f, 0.35f};

double timeOf(int bar, double beat) {
    return bar * kBar + beat * kBeat;
}

std::uint32_t seedOf(int bar, int step, int voice) {
    return std::uint32_t(bar * 1000 + step * 10 + voice + 1);
}

void writePhrase(Stems& s, int bar, const Step* steps, size_t count, int transpose, bool dark,
                 float cutoff) {
    for (size_t i = 0; i < count; ++i) {
        const Note n{timeOf(bar, steps[i].beat), steps[i].beats * kBeat - 0.04,
                     double(steps[i].pitch + transpose), 0.2f, cutoff};
        Lead(s.lead, n, dark);
    }
}

void writeDrums(Stems& s, int bar, Part part, int inPart) {
    const bool quietBar =
        (part == Part::Dark && inPart < 2) || (part == Part::Outro && inPart >= 6);
    for (int beat = 0; beat < 4; ++beat) {
        const double t = timeOf(bar, beat);
        if (!quietBar) {
            Kick(s.drums, t, part == Part::Dark ? 0.95f : 0.85f);
            s.kicks.push_back(t);
        }
        const bool backbeat = beat == 1 || beat == 3;
        const bool claps = part == Part::Groove || part == Part::Light ||
                           (part == Part::Dark && inPart >= 4) ||
                           (part == Part::Outro && inPart < 4);
        if (backbeat && claps) Clap(s.drums, t, 0.38f, seedOf(bar, beat, 1));
        if (part == Part::Light && beat == 3)
            Snare(s.drums, t + 0.75 * kBeat, 0.12f, seedOf(bar, beat, 2));
    }
    // Hats: offbeat eighths in the intro, sixteenths with open offbeats elsewhere.
    for (int step = 0; step < 16; ++step) {
        const double t = timeOf(bar, step * 0.25);
        const float pan = (step % 2 ? 0.25f : -0.25f);
        if (part == Part::Intro) {
            if (inPart >= 2 && step % 4 == 2)
                Hat(s.drums, t, 0.16f, false, pan, seedOf(bar, step, 3));
            continue;
        }
        if (quietBar || (part == Part::Dark && inPart < 4)) continue;
        Hat(s.drums, t, 0.13f * kHatAccent[step % 4], false, pan, seedOf(bar, step, 3));
        if (step % 4 == 2 && !(part == Part::Dark && inPart < 8))
            Hat(s.drums, t, 0.07f, true, -pan, seedOf(bar, step, 4));
    }
    // Scene one's cluster bursts on the last beat of every two-bar cycle: so does the kit.
    if (part == Part::Intro && bar % 2 == 1) {
        Swell(s.drums, timeOf(bar, 2), kBeat, 0.12f, seedOf(bar, 0, 5));
        Clap(s.drums, timeOf(bar, 3), 0.45f, seedOf(bar, 0, 6));
        Hat(s.drums, timeOf(bar, 3), 0.1f, true, 0, seedOf(bar, 0, 7));
    }
}

// Every new section and every eighth bar of the long ones opens with a crash; the bar before
// a new section winds up to it with a swell and a snare roll.
void writeTransitions(Stems& s, int bar, Part part, int inPart) {
    if (bar > 0 && (inPart == 0 || (inPart % 8 == 0 && part != Part::Intro)))
        Crash(s.drums, timeOf(bar, 0), part == Part::Dark && inPart == 0 ? 0.34f : 0.22f,
              seedOf(bar, 0, 8));
    const bool beforeNext = bar == 7 || bar == 23 || bar == 47 || bar == 71;
    if (!beforeNext) return;
    Swell(s.drums, timeOf(bar, 0), kBar, 0.16f, seedOf(bar, 0, 9));
    for (int step = 8; step < 16; ++step) {
        const float rise = 0.06f + 0.02f * (step - 8);
        Snare(s.drums, timeOf(bar, step * 0.25), rise, seedOf(bar, step, 10));
    }
}

void writeBass(Stems& s, int bar, Part part, int inPart, const Chord& chord) {
    const double root = chord.bass;
    switch (part) {
    case Part::Intro:
        if (inPart < 4) return;
        for (int half = 0; half < 2; ++half)
            Bass(s.bass, {timeOf(bar, 2 * half), 1.8 * kBeat, root - 12, 0.5f, 300});
        return;
    case Part::Groove:
    case Part::Outro:
        if (part == Part::Outro && inPart >= 6) {
            Bass(s.bass, {timeOf(bar, 0), 3.8 * kBeat, root - 12, 0.45f, 250});
            return;
        }
        for (int beat = 0; beat < 4; ++beat)
            Bass(s.bass, {timeOf(bar, beat + 0.5), 0.42 * kBeat, root, 0.42f, 900});
        return;
    case Part::Light:
        for (int step = 0; step < 16; ++step) {
            if (step % 4 == 0) continue; // the kick has the downbeat
            const double pitch = root + (step % 4 == 3 ? 12 : 0);
            Bass(s.bass, {timeOf(bar, step * 0.25), 0.22 * kBeat, pitch, 0.38f, 1300});
        }
        return;
    case Part::Dark:
        if (inPart < 2) {
            Bass(s.bass, {timeOf(bar, 0), 3.9 * kBeat, root - 12, 0.55f, 220});
            return;
        }
        for (int step = 0; step < 16; ++step) {
            const double pitch = root - 12 + (step == 6 || step == 14 ? 12 : 0);
            Bass(s.bass, {timeOf(bar, step * 0.25), 0.2 * kBeat, pitch, 0.42f, 650});
        }
        return;
    }
}

void writeHarmony(Stems& s, int bar, Part part, int inPart, const Chord& chord) {
    float cutoff = 1800;
    switch (part) {
    case Part::Intro:
        cutoff = float(450 + 160 * inPart);
        break;
    case Part::Groove:
        cutoff = 1800;
        break;
    case Part::Light:
        cutoff = 2600;
        break;
    case Part::Dark:
        cutoff = 650;
        break;
    case Part::Outro:
        cutoff = 2000;
        break;
    }
    Pad(s.harmony, timeOf(bar, 0), kBar - 0.05, chord.pad, 3, part == Part::Dark ? 0.32f : 0.26f,
        cutoff);
    const bool arp = (part == Part::Groove && inPart >= 8) || part == Part::Light ||
                     (part == Part::Outro && inPart < 6);
    if (!arp) return;
    for (int step = 0; step < 16; ++step) {
        const int index = kArp[step];
        const double pitch = 12 + (index == 3 ? chord.pad[0] + 12 : chord.pad[index]);
        Pluck(s.harmony, {timeOf(bar, step * 0.25), 0.2 * kBeat, pitch, 0.1f, 2400},
              step % 2 ? 0.35f : -0.35f);
    }
}

void writeLead(Stems& s, int bar, Part part, int inPart) {
    if (inPart % 4 != 0) return; // phrases are four bars long
    const int phrase = inPart / 4;
    switch (part) {
    case Part::Light: {
        const bool answer = phrase % 2 == 1;
        const int up = phrase >= 4 && !answer ? 12 : 0;
        if (answer)
            writePhrase(s, bar, kPhraseB, std::size(kPhraseB), 0, false, 3200);
        else
            writePhrase(s, bar, kPhraseA, std::size(kPhraseA), up, false, 3200);
        return;
    }
    case Part::Dark:
        if (phrase < 2) return;
        writePhrase(s, bar, kPhraseDark, std::size(kPhraseDark), phrase < 4 ? -12 : 0, true, 1900);
        return;
    case Part::Outro:
        if (phrase == 0)
            writePhrase(s, bar, kPhraseA, std::size(kPhraseA), 0, false, 2800);
        else
            writePhrase(s, bar, kPhraseEnd, std::size(kPhraseEnd), 0, false, 2800);
        return;
    default:
        return;
    }
}

} // namespace

void WriteScore(Stems& stems) {
    for (int bar = 0; bar < kBars; ++bar) {
        int inPart = 0;
        const Part part = partOf(bar, &inPart);
        const Chord& chord = part == Part::Dark ? kDarkChords[bar % 4] : kLightChords[bar % 4];
        writeDrums(stems, bar, part, inPart);
        writeTransitions(stems, bar, part, inPart);
        writeBass(stems, bar, part, inPart, chord);
        writeHarmony(stems, bar, part, inPart, chord);
        writeLead(stems, bar, part, inPart);
    }
}
