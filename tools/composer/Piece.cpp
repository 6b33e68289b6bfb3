// Piece: score, arrangement and mix of the soundtrack; depends on the composer's
// DrumKit, Voices, Reverb, PingPongDelay, PeakLimiter and Prng.
#include "tools/composer/Piece.h"

#include <algorithm>
#include <cmath>

#include "tools/composer/DrumKit.h"
#include "tools/composer/PeakLimiter.h"
#include "tools/composer/PingPongDelay.h"
#include "tools/composer/Prng.h"
#include "tools/composer/Reverb.h"
#include "tools/composer/Voices.h"

namespace {

// Bars of the sections; each starts on the bar nearest to its scene change.
const int SWEEP_BAR = 4;    // 11.16 s
const int GREET_BAR = 12;   // 33.49 s
const int TRAILS_BAR = 19;  // 53.02 s
const int WAVES_BAR = 23;   // 64.19 s
const int WORLD_BAR = 28;   // 78.14 s
const int BARS = 38;
// The music holds full level through 10 s of the last scene, then fades with it.
const double FADE_START = 88.0;
const double FADE_END = 103.5;

struct Chord {
    int bass;    // MIDI root in the bass register
    int pad[4];  // close voicing around middle C
    int arp[4];  // chord tones an octave or more up
    int colour;  // an added ninth or seventh for the pads' upper layer
};

const Chord CHORD_DM = {38, {57, 62, 65, 69}, {74, 77, 81, 86}, 76};
const Chord CHORD_BB = {34, {58, 62, 65, 69}, {70, 74, 77, 81}, 72};
const Chord CHORD_GM = {43, {55, 58, 62, 65}, {67, 70, 74, 79}, 69};
const Chord CHORD_A = {33, {57, 61, 64, 67}, {69, 73, 76, 79}, 69};
const Chord CHORD_F = {41, {53, 57, 60, 64}, {65, 69, 72, 77}, 67};
const Chord CHORD_C = {36, {55, 60, 64, 67}, {67, 72, 76, 79}, 74};

const Chord* const CHORDS[BARS] = {
    &CHORD_DM, &CHORD_BB, &CHORD_GM, &CHORD_A,  // titles
    &CHORD_DM, &CHORD_BB, &CHORD_GM, &CHORD_A,  &CHORD_DM, &CHORD_BB, &CHORD_GM, &CHORD_A,  // sweep
    &CHORD_BB, &CHORD_F,  &CHORD_C,  &CHORD_DM, &CHORD_BB, &CHORD_C,  &CHORD_A,  // greetings
    &CHORD_DM, &CHORD_BB, &CHORD_GM, &CHORD_A,                                   // trails
    &CHORD_DM, &CHORD_BB, &CHORD_GM, &CHORD_A,  &CHORD_A,                        // waves
    &CHORD_DM, &CHORD_BB, &CHORD_GM, &CHORD_A,  &CHORD_DM, &CHORD_BB, &CHORD_GM, &CHORD_A,
    &CHORD_DM, &CHORD_DM,  // world
};

struct Note {
    double beat;    // from the start of the phrase
    double length;  // beats
    int note;       // MIDI
};

// The theme: four bars over Dm, Bb, Gm, A. It comes back on bells in the
// titles, on the lead in the trails, waves and world, and on bells at the end.
const Note THEME[] = {
    {0, 1, 69},     {1, 0.5, 74}, {1.5, 0.5, 76}, {2, 1.5, 77}, {3.5, 0.5, 76}, {4, 1.5, 74},
    {5.5, 0.5, 72}, {6, 1, 74},   {7, 1, 77},     {8, 1.5, 79}, {9.5, 0.5, 77}, {10, 1, 74},
    {11, 1, 70},    {12, 1, 73},  {13, 1, 76},    {14, 2, 69},
};

// The answer for the greetings, over Bb, F, C, Dm, Bb, C, A.
const Note ANSWER[] = {
    {0, 2, 77},  {2, 1, 74},  {3, 1, 77},  {4, 1.5, 76},  {5.5, 0.5, 72},  {6, 2, 69},
    {8, 1, 67},  {9, 1, 72},  {10, 1, 76}, {11, 1, 79},   {12, 3, 77},     {15, 1, 76},
    {16, 2, 74}, {18, 1, 77}, {19, 1, 82}, {20, 1.5, 81}, {21.5, 0.5, 79}, {22, 2, 76},
    {24, 1, 76}, {25, 1, 73}, {26, 2, 69},
};

// The climb out of the waves into the last scene: A harmonic minor in 16ths.
const Note RUN[] = {
    {0, 0.25, 69},    {0.25, 0.25, 70}, {0.5, 0.25, 73},  {0.75, 0.25, 74}, {1, 0.25, 76},
    {1.25, 0.25, 77}, {1.5, 0.25, 79},  {1.75, 0.25, 81}, {2, 0.25, 82},    {2.25, 0.25, 81},
    {2.5, 0.25, 79},  {2.75, 0.25, 77}, {3, 0.25, 76},    {3.25, 0.25, 79}, {3.5, 0.5, 81},
};

class Score {
public:
    explicit Score(size_t frames)
        : m_frames(frames), m_kit(Piece::SAMPLE_RATE, 0xD3D0u), m_voices(Piece::SAMPLE_RATE),
          m_human(0x5EEDu), m_drums(frames), m_bass(frames), m_pads(frames), m_lead(frames),
          m_bells(frames), m_arp(frames), m_reverbSend(frames)
    {
    }

    StereoBuffer mix(float& limiterGain);
    void write();

private:
    static long at(double bar, double beat)
    {
        return std::lround((bar * 4.0 + beat) * Piece::beatSeconds() * Piece::SAMPLE_RATE);
    }
    static double seconds(double beats) { return beats * Piece::beatSeconds(); }
    bool inside(long frame) const { return frame < static_cast<long>(m_frames); }
    // Small deterministic variations so repeated hits do not sound stamped.
    float human(float velocity) { return velocity * (0.92f + 0.08f * m_human.nextUnit()); }

    void kick(int bar, double beat, float velocity);
    void drivingBar(int bar, float hatAccent);
    void phrase(const Note* notes, size_t count, int firstBar, int transpose, float velocity,
                bool bells);

    void titles();
    void sweep();
    void greetings();
    void trails();
    void waves();
    void world();
    void padsAndBass();

    size_t m_frames;
    DrumKit m_kit;
    Voices m_voices;
    Prng m_human;
    std::vector<long> m_kicks;  // frames of every kick, for the side-chain
    StereoBuffer m_drums, m_bass, m_pads, m_lead, m_bells, m_arp, m_reverbSend;
};

void Score::kick(int bar, double beat, float velocity)
{
    long f = at(bar, beat);
    if (!inside(f))
        return;
    m_kit.kick(m_drums, f, human(velocity), 72.0, 0.095);
    m_kicks.push_back(f);
}

void Score::phrase(const Note* notes, size_t count, int firstBar, int transpose, float velocity,
                   bool bells)
{
    for (size_t i = 0; i < count; ++i) {
        long f = at(firstBar, notes[i].beat);
        if (!inside(f))
            continue;
        double gate = seconds(notes[i].length) * 0.92;
        if (bells)
            m_voices.bell(m_bells, f, gate + 0.6, notes[i].note + transpose, human(velocity), 0.2f);
        else
            m_voices.lead(m_lead, f, gate, notes[i].note + transpose, human(velocity), 0.0f);
    }
}

void Score::padsAndBass()
{
    for (int bar = 0; bar < BARS; ++bar) {
        const Chord& c = *CHORDS[bar];
        long f = at(bar, 0);
        if (!inside(f))
            break;
        // Pads: thin and dark in the titles, open in the middle, the last
        // chord held over the final two bars.
        float vel = 0.4f;
        double cutoff = 2000.0;
        if (bar < SWEEP_BAR) {
            vel = 0.12f + 0.03f * bar;
            cutoff = 900.0;
        } else if (bar >= GREET_BAR && bar < TRAILS_BAR) {
            vel = 0.2f;
            cutoff = 1100.0;
        } else if (bar >= WAVES_BAR && bar < WORLD_BAR) {
            cutoff = 2200.0;
        }
        if (bar == BARS - 1)
            continue;
        double gate = seconds(bar == BARS - 2 ? 7.0 : 4.0) - 0.05;
        for (int k = 0; k < 4; ++k)
            m_voices.pad(m_pads, f, gate, c.pad[k], k == 0 ? vel * 0.8f : vel, 0.15f - 0.1f * k,
                         cutoff);
        if (bar >= SWEEP_BAR) {
            // The low voice sits with the bass (same side-chain, no reverb) so
            // that it keeps out of the kick's way too.
            m_voices.pad(m_bass, f, gate, c.bass + 12, vel * 0.8f, 0.0f, cutoff * 0.7);
            // An upper octave of the chord fills the 0.4-0.7 kHz range.
            m_voices.pad(m_pads, f, gate, c.arp[0], vel * 1.1f, -0.15f, cutoff * 1.3);
            m_voices.pad(m_pads, f, gate, c.arp[1], vel * 1.0f, 0.15f, cutoff * 1.3);
            m_voices.pad(m_pads, f, gate, c.colour, vel * 0.9f, 0.0f, cutoff * 1.3);
        }
    }
}

void Score::titles()
{
    // The theme, alone on bells an octave up, over dark pads.
    phrase(THEME, sizeof THEME / sizeof THEME[0], 0, 12, 0.2f, true);
    long f = at(3, 2);
    if (inside(f))
        m_kit.riser(m_drums, f, seconds(2.0), 0.25f);
}

void Score::sweep()
{
    for (int bar = SWEEP_BAR; bar < GREET_BAR; ++bar) {
        const Chord& c = *CHORDS[bar];
        kick(bar, 0, 0.85f);
        kick(bar, 2, 0.8f);
        if (bar % 2 == 1)
            kick(bar, 3.5, 0.6f);
        for (double beat : {1.0, 3.0}) {
            long f = at(bar, beat);
            if (inside(f))
                m_kit.snare(m_drums, f, human(0.42f), 0.05f);
        }
        for (int e = 0; e < 8; ++e) {
            long f = at(bar, e * 0.5);
            if (inside(f))
                m_kit.hat(m_drums, f, human(e % 2 ? 0.22f : 0.12f), 0.3f, false);
        }
        static const double BASS_BEATS[4][2] = {{0, 1.4}, {1.5, 0.4}, {2, 1.4}, {3.5, 0.4}};
        for (int k = 0; k < 4; ++k) {
            long f = at(bar, BASS_BEATS[k][0]);
            if (inside(f))
                m_voices.bass(m_bass, f, seconds(BASS_BEATS[k][1]), c.bass + (k == 3 ? 12 : 0),
                              human(0.5f), 0.3);
        }
        // From the second half on, a quiet arpeggio in eighths.
        if (bar >= SWEEP_BAR + 4) {
            static const int ORDER[8] = {0, 1, 2, 3, 2, 1, 2, 3};
            for (int e = 0; e < 8; ++e) {
                long f = at(bar, e * 0.5);
                if (inside(f))
                    m_voices.pluck(m_arp, f, seconds(0.4), c.arp[ORDER[e]], human(0.24f),
                                   e % 2 ? 0.5f : -0.5f);
            }
        }
    }
}

void Score::greetings()
{
    // No kick: the break breathes on hands, shaker and a soft high bass.
    for (int bar = GREET_BAR; bar < TRAILS_BAR; ++bar) {
        const Chord& c = *CHORDS[bar];
        long f = at(bar, 2);
        if (inside(f))
            m_kit.clap(m_drums, f, human(0.3f), -0.1f);
        for (int s = 0; s < 16; ++s) {
            long g = at(bar, s * 0.25);
            if (inside(g))
                m_kit.shaker(m_drums, g, human(s % 4 == 2 ? 0.35f : 0.18f), 0.4f);
        }
        long b = at(bar, 0);
        if (inside(b))
            m_voices.bass(m_bass, b, seconds(3.6), c.bass + 12, human(0.3f), 0.0);
    }
    phrase(ANSWER, sizeof ANSWER / sizeof ANSWER[0], GREET_BAR, 0, 0.4f, false);
    // The last bar builds: a snare roll growing into the full beat.
    for (int s = 0; s < 16; ++s) {
        long f = at(TRAILS_BAR - 1, s * 0.25);
        if (inside(f))
            m_kit.snare(m_drums, f, 0.08f + 0.022f * s, 0.0f);
    }
    long f = at(TRAILS_BAR - 1, 0);
    if (inside(f))
        m_kit.riser(m_drums, f, seconds(4.0), 0.3f);
}

// One bar of the full beat shared by the trails and the world sections: kick on
// every beat, snare on 2 and 4, sixteenth hats (offbeat accent `hatAccent`), and
// the octave bass line on the bar's chord.
void Score::drivingBar(int bar, float hatAccent)
{
    const Chord& c = *CHORDS[bar];
    for (int beat = 0; beat < 4; ++beat)
        kick(bar, beat, 0.75f);
    for (double beat : {1.0, 3.0}) {
        long f = at(bar, beat);
        if (inside(f))
            m_kit.snare(m_drums, f, human(0.5f), 0.05f);
    }
    for (int s = 0; s < 16; ++s) {
        long f = at(bar, s * 0.25);
        if (inside(f))
            m_kit.hat(m_drums, f, human(s % 4 == 2 ? hatAccent : 0.1f), 0.3f, s == 14);
    }
    static const int LINE[8] = {0, 0, 12, 0, 0, 12, 7, 12};
    for (int e = 0; e < 8; ++e) {
        long f = at(bar, e * 0.5);
        if (inside(f))
            m_voices.bass(m_bass, f, seconds(0.42), c.bass + LINE[e], human(e == 0 ? 0.55f : 0.42f),
                          0.45);
    }
}

void Score::trails()
{
    for (int bar = TRAILS_BAR; bar < WAVES_BAR; ++bar)
        drivingBar(bar, 0.24f);
    phrase(THEME, sizeof THEME / sizeof THEME[0], TRAILS_BAR, 0, 0.6f, false);
}

void Score::waves()
{
    for (int bar = WAVES_BAR; bar < WORLD_BAR; ++bar) {
        const Chord& c = *CHORDS[bar];
        for (int beat = 0; beat < 4; ++beat)
            kick(bar, beat, 0.75f);
        for (double beat : {1.0, 3.0}) {
            long f = at(bar, beat);
            if (inside(f)) {
                m_kit.snare(m_drums, f, human(0.5f), 0.05f);
                m_kit.clap(m_drums, f, human(0.25f), -0.2f);
            }
        }
        for (int s = 0; s < 16; ++s) {
            long f = at(bar, s * 0.25);
            if (inside(f)) {
                m_kit.hat(m_drums, f, human(s % 4 == 2 ? 0.2f : 0.1f), 0.3f, s % 4 == 2);
                m_kit.shaker(m_drums, f, human(0.12f), -0.4f);
            }
        }
        static const int LINE[16] = {0, 0, 12, 0, 0, 12, 0, 7, 0, 0, 12, 0, 7, 12, 7, 12};
        for (int s = 0; s < 16; ++s) {
            if (s % 4 == 1)
                continue;
            long f = at(bar, s * 0.25);
            if (inside(f))
                m_voices.bass(m_bass, f, seconds(0.2), c.bass + LINE[s],
                              human(s % 4 == 0 ? 0.55f : 0.4f), 0.6);
        }
        static const int ORDER[16] = {0, 1, 2, 3, 1, 2, 3, 2, 0, 2, 1, 3, 2, 3, 1, 2};
        for (int s = 0; s < 16; ++s) {
            long f = at(bar, s * 0.25);
            if (inside(f))
                m_voices.pluck(m_arp, f, seconds(0.2), c.arp[ORDER[s]] + (s % 8 == 7 ? 12 : 0),
                               human(0.26f), s % 2 ? 0.55f : -0.55f);
        }
    }
    phrase(THEME, sizeof THEME / sizeof THEME[0], WAVES_BAR, 0, 0.6f, false);
    phrase(THEME, sizeof THEME / sizeof THEME[0], WAVES_BAR, 12, 0.12f, true);
    phrase(RUN, sizeof RUN / sizeof RUN[0], WORLD_BAR - 1, 0, 0.5f, false);
    long f = at(WORLD_BAR - 1, 0);
    if (inside(f))
        m_kit.riser(m_drums, f, seconds(4.0), 0.3f);
}

void Score::world()
{
    const int lastBeatBar = BARS - 2;
    for (int bar = WORLD_BAR; bar < lastBeatBar; ++bar)
        drivingBar(bar, 0.22f);
    phrase(THEME, sizeof THEME / sizeof THEME[0], WORLD_BAR, 0, 0.6f, false);
    // The theme once more on bells, as in the titles, while everything fades.
    phrase(THEME, sizeof THEME / sizeof THEME[0], WORLD_BAR + 4, 12, 0.22f, true);
    long f = at(lastBeatBar, 0);
    if (inside(f)) {
        m_voices.bass(m_bass, f, seconds(6.0), CHORD_DM.bass, 0.45f, 0.0);
        m_voices.bell(m_bells, f, seconds(7.0), 74, 0.16f, 0.2f);
    }
}

void Score::write()
{
    padsAndBass();
    titles();
    sweep();
    greetings();
    trails();
    waves();
    world();
}

StereoBuffer Score::mix(float& limiterGain)
{
    const double rate = Piece::SAMPLE_RATE;
    // Side-chain: bass and pads step aside while a kick sounds (the bass almost
    // entirely for 140 ms, then back within ~200 ms). Besides the pumping feel,
    // this keeps the bass from beating against the kick's body, so each kick
    // reads as one clean burst of low energy.
    std::vector<float> duck(m_frames, 1.0f);
    for (long k : m_kicks) {
        long length = static_cast<long>(rate * 0.5);
        for (long i = 0; i < length && static_cast<size_t>(k + i) < m_frames; ++i) {
            double t = i / rate;
            double dip = t < 0.004 ? t / 0.004 : (t < 0.14 ? 1.0 : std::exp(-(t - 0.14) / 0.07));
            float g = static_cast<float>(1.0 - 0.85 * dip);
            duck[k + i] = std::min(duck[k + i], g);
        }
    }
    for (size_t i = 0; i < m_frames; ++i) {
        m_bass.scale(i, duck[i]);
        m_pads.scale(i, 0.6f + 0.4f * duck[i]);
    }

    m_pads.saturate(1.5f);
    m_drums.saturate(1.2f);

    StereoBuffer master(m_frames);
    master.mix(m_drums, 1.0f);
    master.mix(m_bass, 1.0f);
    master.mix(m_pads, 1.0f);
    master.mix(m_lead, 1.0f);
    master.mix(m_bells, 1.0f);
    master.mix(m_arp, 1.0f);

    // Echoes on a dotted eighth, the usual lilt against a straight beat.
    const size_t dotted = static_cast<size_t>(std::lround(0.75 * Piece::beatSeconds() * rate));
    StereoBuffer melodic(m_frames);
    melodic.mix(m_lead, 1.0f);
    melodic.mix(m_bells, 1.0f);
    melodic.mix(m_arp, 0.7f);
    PingPongDelay(dotted, 0.35).process(melodic, master, 0.28f);

    m_reverbSend.mix(m_pads, 0.6f);
    m_reverbSend.mix(m_lead, 0.4f);
    m_reverbSend.mix(m_bells, 0.7f);
    m_reverbSend.mix(m_arp, 0.5f);
    m_reverbSend.mix(m_drums, 0.12f);
    Reverb(0.84, 0.3).process(m_reverbSend, master, 1.0f);

    for (size_t i = 0; i < m_frames; ++i) {
        double t = i / rate;
        double g = 1.0;
        if (t >= FADE_END)
            g = 0.0;
        else if (t > FADE_START) {
            double x = (t - FADE_START) / (FADE_END - FADE_START);
            g = (1.0 - x) * (1.0 - x);
        }
        // A 10 ms fade-in keeps the very first sample at zero.
        g *= std::min(1.0, t / 0.01);
        master.scale(i, static_cast<float>(g));
    }
    limiterGain = PeakLimiter(rate, std::pow(10.0, -1.0 / 20.0), 0.003, 0.15).process(master);
    return master;
}

}  // namespace

const std::vector<Piece::Section>& Piece::sections()
{
    static const std::vector<Section> SECTIONS = {
        {"titles", 0, SWEEP_BAR},
        {"sweep", SWEEP_BAR, GREET_BAR},
        {"greetings", GREET_BAR, TRAILS_BAR},
        {"trails", TRAILS_BAR, WAVES_BAR},
        {"waves", WAVES_BAR, WORLD_BAR},
        {"world", WORLD_BAR, BARS},
    };
    return SECTIONS;
}

StereoBuffer Piece::render(double secondsWanted, float* limiterGain)
{
    double s =
        secondsWanted <= 0.0 || secondsWanted > LENGTH_SECONDS ? LENGTH_SECONDS : secondsWanted;
    size_t frames = static_cast<size_t>(std::lround(s * SAMPLE_RATE));
    Score score(frames);
    score.write();
    float gain = 1.0f;
    StereoBuffer out = score.mix(gain);
    if (limiterGain)
        *limiterGain = gain;
    return out;
}
