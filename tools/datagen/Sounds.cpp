#include "Sounds.h"

#include "Noise.h"
#include "Random.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace datagen::sounds {
namespace {

constexpr float Pi = 3.14159265f;
constexpr float Rate = static_cast<float>(SampleRate);

// Band-limited step correction for the saw and square oscillators.
float polyBlep(float t, float dt)
{
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1;
    }
    if (t > 1 - dt) {
        t = (t - 1) / dt;
        return t * t + t + t + 1;
    }
    return 0;
}

float midiToHz(float note)
{
    return 440.0f * std::pow(2.0f, (note - 69) / 12.0f);
}

// Attack, decay to a sustain level while held, then release to silence.
float adsr(float t, float held, float attack, float decay, float sustain, float release)
{
    auto level = [&](float at) {
        if (at < attack) return at / attack;
        return sustain + (1 - sustain) * std::exp(-(at - attack) / decay);
    };
    if (t < 0) return 0;
    if (t < held) return level(t);
    float r = t - held;
    return r >= release ? 0.0f : level(held) * (1 - r / release) * (1 - r / release);
}

// RBJ band-pass with 0 dB peak; coefficients may change every sample.
struct BandPass {
    float x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    float process(float x, float freq, float bandwidth)
    {
        float w0 = 2 * Pi * freq / Rate;
        float alpha = std::sin(w0) * bandwidth / (2 * freq);
        float a0 = 1 + alpha;
        float y = (alpha * x - alpha * x2 + 2 * std::cos(w0) * y1 - (1 - alpha) * y2) / a0;
        x2 = x1;
        x1 = x;
        y2 = y1;
        y1 = y;
        return y;
    }
};

struct OnePole {
    float y = 0;
    float low(float x, float cutoff)
    {
        y += (1 - std::exp(-2 * Pi * cutoff / Rate)) * (x - y);
        return y;
    }
};

void normalise(std::vector<float>& samples, float peak)
{
    float high = 0;
    for (float s : samples) high = std::max(high, std::fabs(s));
    if (high > 0)
        for (float& s : samples) s *= peak / high;
}

// ------------------------------------------------------------ the tune --
constexpr float Beat = 0.5f; // seconds, 120 beats per minute

struct Note {
    float midi; // < 0 for a rest
    float beats;
};

Note parse(const char* name, float beats)
{
    if (name[0] == 'r') return {-1, beats};
    static const int offsets[] = {9, 11, 0, 2, 4, 5, 7}; // A..G
    int n = offsets[name[0] - 'A'];
    int i = 1;
    if (name[i] == '#') n += 1, ++i;
    if (name[i] == 'b') n -= 1, ++i;
    int octave = name[i] - '0';
    return {static_cast<float>(12 * (octave + 1) + n), beats};
}

struct Chord {
    int root; // MIDI note of the root in the bass octave
    bool minor;
    float beats;
};

// A cheerful tune in C major, sixteen bars.
std::vector<Note> melody()
{
    const std::vector<std::vector<std::pair<const char*, float>>> bars = {
        {{"C5", .5f}, {"E5", .5f}, {"G5", 1}, {"E5", .5f}, {"G5", .5f}, {"C6", 1}},
        {{"B5", 1}, {"G5", .5f}, {"D5", .5f}, {"G5", 1.5f}, {"r", .5f}},
        {{"A5", .5f}, {"C6", .5f}, {"E6", 1}, {"D6", .5f}, {"C6", .5f}, {"A5", 1}},
        {{"F5", 1}, {"A5", .5f}, {"G5", .5f}, {"F5", 1}, {"E5", 1}},
        {{"C5", .5f}, {"E5", .5f}, {"G5", 1}, {"E5", .5f}, {"G5", .5f}, {"C6", 1}},
        {{"D6", 1}, {"B5", .5f}, {"G5", .5f}, {"A5", .5f}, {"B5", .5f}, {"G5", 1}},
        {{"A5", .5f}, {"A5", .5f}, {"C6", 1}, {"F5", .5f}, {"A5", .5f}, {"G5", 1}},
        {{"G5", .5f}, {"F5", .5f}, {"E5", .5f}, {"D5", .5f}, {"G5", 2}},
        {{"A5", 1}, {"C6", 1}, {"A5", .5f}, {"G5", .5f}, {"F5", 1}},
        {{"G5", 1}, {"E5", 1}, {"C5", .5f}, {"D5", .5f}, {"E5", 1}},
        {{"F5", .5f}, {"E5", .5f}, {"D5", .5f}, {"E5", .5f}, {"F5", 1}, {"A5", 1}},
        {{"G5", 1.5f}, {"A5", .5f}, {"B5", 1}, {"D6", 1}},
        {{"C6", .5f}, {"B5", .5f}, {"C6", 1}, {"G5", 1}, {"E5", 1}},
        {{"A5", .5f}, {"G5", .5f}, {"A5", 1}, {"E5", 1}, {"C5", 1}},
        {{"F5", .5f}, {"A5", .5f}, {"C6", 1}, {"D6", .5f}, {"C6", .5f}, {"B5", 1}},
        {{"C6", 3}, {"r", 1}},
    };
    std::vector<Note> notes;
    for (const auto& bar : bars)
        for (const auto& [name, beats] : bar) notes.push_back(parse(name, beats));
    return notes;
}

std::vector<Chord> chords()
{
    const Chord C{36, false, 4}, G{43, false, 4}, Am{45, true, 4}, F{41, false, 4}, Dm{38, true, 4};
    std::vector<Chord> out = {C, G, Am, F, C, G, F, G, F, C, Dm, G, C, Am};
    out.push_back({41, false, 2});
    out.push_back({43, false, 2});
    out.push_back(C);
    return out;
}

void addLead(std::vector<float>& out, float start, float held, float hz)
{
    const float release = 0.12f;
    int first = static_cast<int>(start * Rate), count = static_cast<int>((held + release) * Rate);
    float phase = 0;
    OnePole tone;
    for (int i = 0; i < count && first + i < static_cast<int>(out.size()); ++i) {
        float t = i / Rate;
        float vibrato = 1 + 0.004f * smoothstep(0.15f, 0.35f, t) * std::sin(2 * Pi * 5.5f * t);
        float dt = hz * vibrato / Rate;
        phase += dt;
        phase -= std::floor(phase);
        float square =
            (phase < 0.5f ? 1.0f : -1.0f) + polyBlep(phase, dt) - polyBlep(std::fmod(phase + 0.5f, 1.0f), dt);
        float voice = 0.45f * square + 0.55f * std::sin(2 * Pi * phase);
        out[first + i] += 0.3f * adsr(t, held, 0.008f, 0.15f, 0.6f, release) * tone.low(voice, 2600);
    }
}

void addBass(std::vector<float>& out, float start, float held, float hz)
{
    int first = static_cast<int>(start * Rate), count = static_cast<int>((held + 0.08f) * Rate);
    float phase = 0;
    for (int i = 0; i < count && first + i < static_cast<int>(out.size()); ++i) {
        float t = i / Rate;
        phase += hz / Rate;
        phase -= std::floor(phase);
        float voice = std::sin(2 * Pi * phase) + 0.3f * std::sin(4 * Pi * phase) + 0.1f * std::sin(6 * Pi * phase);
        out[first + i] += 0.32f * adsr(t, held, 0.005f, 0.25f, 0.5f, 0.08f) * voice;
    }
}

void addStab(std::vector<float>& out, float start, float hz)
{
    const float held = 0.1f, release = 0.1f;
    int first = static_cast<int>(start * Rate), count = static_cast<int>((held + release) * Rate);
    float phase = 0;
    OnePole tone;
    for (int i = 0; i < count && first + i < static_cast<int>(out.size()); ++i) {
        float t = i / Rate;
        float dt = hz / Rate;
        phase += dt;
        phase -= std::floor(phase);
        float saw = 2 * phase - 1 - polyBlep(phase, dt);
        out[first + i] += 0.07f * adsr(t, held, 0.004f, 0.08f, 0.3f, release) * tone.low(saw, 1800);
    }
}

void addPad(std::vector<float>& out, float start, float held, float hz)
{
    const float release = 0.6f;
    int first = static_cast<int>(start * Rate), count = static_cast<int>((held + release) * Rate);
    for (int i = 0; i < count && first + i < static_cast<int>(out.size()); ++i) {
        float t = i / Rate;
        // Two slightly detuned sines beat gently.
        float voice = std::sin(2 * Pi * hz * t) + std::sin(2 * Pi * hz * 1.003f * t + 1.0f);
        out[first + i] += 0.035f * adsr(t, held, 0.25f, 1.0f, 0.8f, release) * voice;
    }
}

void addKick(std::vector<float>& out, float start)
{
    int first = static_cast<int>(start * Rate), count = static_cast<int>(0.3f * Rate);
    float phase = 0;
    for (int i = 0; i < count && first + i < static_cast<int>(out.size()); ++i) {
        float t = i / Rate;
        phase += (50 + 110 * std::exp(-t / 0.03f)) / Rate;
        float env = std::min(t / 0.0015f, 1.0f) * std::exp(-t / 0.09f) * (1 - t / 0.3f);
        out[first + i] += 0.6f * env * std::sin(2 * Pi * phase);
    }
}

void addNoiseHit(std::vector<float>& out, float start, float length, float decay, float level, float tone, Rng& rng,
                 bool bright)
{
    int first = static_cast<int>(start * Rate), count = static_cast<int>(length * Rate);
    OnePole low;
    for (int i = 0; i < count && first + i < static_cast<int>(out.size()); ++i) {
        float t = i / Rate;
        float n = rng.range(-1, 1);
        float filtered = bright ? n - low.low(n, 6000) : low.low(n, 5000);
        float body = tone > 0 ? 0.5f * std::sin(2 * Pi * tone * t) : 0.0f;
        float env = std::min(t / 0.001f, 1.0f) * std::exp(-t / decay) * (1 - t / length);
        out[first + i] += level * env * (filtered + body);
    }
}

// ------------------------------------------------------------- the sea --
float crash(float x)
{
    // One breaking wave over a cycle: quick build, long fall to silence.
    x -= std::floor(x);
    return x < 0.15f ? smoothstep(0.0f, 0.15f, x) : std::pow(1 - (x - 0.15f) / 0.85f, 2.0f);
}

// Swell over one loop; every term has a whole number of cycles per loop.
float swell(float phase)
{
    return 0.25f + 0.5f * crash(3 * phase) + 0.25f * crash(2 * phase + 0.4f) + 0.15f * crash(5 * phase + 0.7f);
}

// Kick, snare and hats for bars 0..lastBar; the last bar holds one kick and a crash.
void addDrums(std::vector<float>& drums, std::vector<float>& hats, int lastBar)
{
    Rng rng(0xD5035u);
    for (int bar = 0; bar <= lastBar; ++bar) {
        float at = bar * 4 * Beat;
        if (bar == 0 || bar == 8 || bar == lastBar) addNoiseHit(hats, at, 1.6f, 0.5f, 0.12f, 0, rng, true);
        if (bar == lastBar) {
            addKick(drums, at);
            continue;
        }
        addKick(drums, at);
        addKick(drums, at + 2 * Beat);
        if (bar % 4 == 3) addKick(drums, at + 2.5f * Beat);
        addNoiseHit(drums, at + Beat, 0.2f, 0.05f, 0.22f, 190, rng, false);
        addNoiseHit(drums, at + 3 * Beat, 0.2f, 0.05f, 0.22f, 190, rng, false);
        for (int e = 0; e < 8; ++e)
            addNoiseHit(hats, at + e * 0.5f * Beat, 0.06f, 0.015f, e % 2 ? 0.09f : 0.05f, 0, rng, true);
    }
}

} // namespace

Clip introTune()
{
    std::vector<float> lead(IntroFrames, 0.0f), bass(IntroFrames, 0.0f), stabs(IntroFrames, 0.0f),
        pad(IntroFrames, 0.0f), drums(IntroFrames, 0.0f), hats(IntroFrames, 0.0f);
    float beat = 0;
    for (const Note& n : melody()) {
        if (n.midi >= 0) addLead(lead, beat * Beat, n.beats * Beat * 0.88f, midiToHz(n.midi - 12));
        beat += n.beats;
    }
    const int lastBar = 15;
    beat = 0;
    for (const Chord& c : chords()) {
        int third = c.root + (c.minor ? 3 : 4), fifth = c.root + 7;
        bool ending = beat >= lastBar * 4;
        if (ending) {
            addBass(bass, beat * Beat, 3 * Beat, midiToHz(static_cast<float>(c.root)));
        } else {
            // A bouncing line: root, fifth, octave, root, fifth, third.
            const struct {
                float at, length;
                int note;
            } pattern[] = {{0, 0.7f, c.root}, {1, 0.45f, fifth}, {1.5f, 0.45f, c.root + 12},
                           {2, 0.7f, c.root}, {3, 0.45f, fifth}, {3.5f, 0.45f, third}};
            for (const auto& p : pattern)
                if (p.at < c.beats)
                    addBass(bass, (beat + p.at) * Beat, p.length * Beat, midiToHz(static_cast<float>(p.note)));
            for (float off = 0.5f; off < c.beats; off += 1)
                for (int tone : {c.root + 24, third + 24, fifth + 24})
                    addStab(stabs, (beat + off) * Beat, midiToHz(static_cast<float>(tone)));
        }
        for (int tone : {c.root + 24, third + 24, fifth + 24})
            addPad(pad, beat * Beat, (ending ? 3.0f : c.beats) * Beat, midiToHz(static_cast<float>(tone)));
        beat += c.beats;
    }
    addDrums(drums, hats, lastBar);

    // A soft echo on the melody, alternating sides.
    const int delay = static_cast<int>(0.75f * Beat * Rate);
    std::vector<float> echoL(IntroFrames, 0.0f), echoR(IntroFrames, 0.0f);
    for (int i = delay; i < IntroFrames; ++i) {
        echoL[i] = 0.3f * lead[i - delay] + 0.35f * echoR[i - delay];
        echoR[i] = 0.35f * echoL[i - delay];
    }

    Clip clip;
    clip.channels = 2;
    clip.samples.resize(2 * static_cast<size_t>(IntroFrames));
    const float fadeStart = IntroFrames - 1.5f * Rate;
    for (int i = 0; i < IntroFrames; ++i) {
        float mid = lead[i] + bass[i] + pad[i] + drums[i];
        float left = mid + stabs[i] + 0.6f * hats[i] + echoL[i];
        float right = mid + 0.4f * stabs[i] + hats[i] + echoR[i];
        float fade = std::min(i / (0.005f * Rate), 1.0f);
        if (i > fadeStart) fade *= 0.5f + 0.5f * std::cos(Pi * (i - fadeStart) / (IntroFrames - 1 - fadeStart));
        clip.samples[2 * i] = left * fade;
        clip.samples[2 * i + 1] = right * fade;
    }
    normalise(clip.samples, 0.89f);
    return clip;
}

Clip seaWaves()
{
    // Filtered noise, made seamless by cross-fading the tail that runs past the
    // loop into the head, then shaped by swells that repeat with the loop.
    const int n = WavesFrames, fade = SampleRate / 2, warmUp = SampleRate / 4;
    Clip clip;
    clip.channels = 2;
    clip.samples.assign(2 * static_cast<size_t>(n), 0.0f);
    for (int ch = 0; ch < 2; ++ch) {
        Rng rng(0x5EAu + ch);
        const float lag = ch * 0.03f;
        auto envAt = [&](int i) { return swell(static_cast<float>(((i % n) + n) % n) / n + lag); };
        std::vector<float> stream(static_cast<size_t>(n + fade));
        OnePole a, b, rumble, hissLow;
        for (int i = -warmUp; i < n + fade; ++i) {
            float env = envAt(i);
            float x = rng.range(-1, 1);
            float cutoff = 220 + 2400 * std::pow(env, 1.6f);
            float body = b.low(a.low(x, cutoff), cutoff);
            float low = rumble.low(x, 90);
            float hiss = x - hissLow.low(x, 3500);
            float s = 1.6f * body + 3.0f * low + 0.12f * std::pow(env, 3.0f) * hiss;
            if (i >= 0) stream[i] = s;
        }
        for (int i = 0; i < n; ++i) {
            float s = stream[i];
            if (i < fade) {
                // Equal-power cross-fade: the head starts exactly where the tail would go on.
                float t = static_cast<float>(i) / fade;
                s = std::sin(Pi / 2 * t) * stream[i] + std::cos(Pi / 2 * t) * stream[n + i];
            }
            clip.samples[2 * i + ch] = s * (0.35f + 0.65f * envAt(i));
        }
    }
    normalise(clip.samples, 0.7f);
    return clip;
}

Clip ouch()
{
    // A voice saying "ouch": a falling glottal buzz through formants gliding
    // from "ah" to "oo", a short closure, then the "ch" hiss.
    const int n = PainFrames;
    Clip clip;
    clip.samples.assign(n, 0.0f);
    Rng rng(0x0C4u);
    BandPass f1, f2, f3, hiss1, hiss2;
    OnePole glottal;
    float phase = 0;
    const float voiceEnd = 0.42f, chStart = 0.44f, chEnd = 0.59f;
    for (int i = 0; i < n; ++i) {
        float t = i / Rate;
        float s = 0;
        if (t < voiceEnd + 0.01f) {
            float pitch = 330 + 40 * smoothstep(0.0f, 0.05f, t) - 170 * smoothstep(0.05f, voiceEnd, t);
            pitch *= 1 + 0.01f * std::sin(2 * Pi * 7 * t);
            float dt = pitch / Rate;
            phase += dt;
            phase -= std::floor(phase);
            float source = glottal.low(2 * phase - 1 - polyBlep(phase, dt), 3500) + 0.08f * rng.range(-1, 1);
            float glide = smoothstep(0.1f, 0.38f, t);
            float v = 1.0f * f1.process(source, 850 - 470 * glide, 90) +
                0.6f * f2.process(source, 1300 - 500 * glide, 110) +
                0.25f * f3.process(source, 2600 - 300 * glide, 160);
            float env = std::min(t / 0.012f, 1.0f) * (1 - smoothstep(0.3f, voiceEnd, t));
            s += env * v;
        }
        if (t >= chStart && t < chEnd) {
            float u = t - chStart;
            float x = rng.range(-1, 1);
            float h = hiss1.process(x, 3200, 1500) + 0.6f * hiss2.process(x, 5200, 2000);
            float env = std::min(u / 0.004f, 1.0f) * std::exp(-u / 0.045f) * (1 - smoothstep(0.1f, chEnd - chStart, u));
            s += 0.35f * env * h;
        }
        clip.samples[i] = s;
    }
    normalise(clip.samples, 0.85f);
    return clip;
}

void writeMp3(const std::string& path, const Clip& clip)
{
    SF_INFO info{};
    info.samplerate = SampleRate;
    info.channels = clip.channels;
    info.format = SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file) throw std::runtime_error("cannot write " + path + ": " + sf_strerror(nullptr));
    int mode = SF_BITRATE_MODE_CONSTANT;
    sf_command(file, SFC_SET_BITRATE_MODE, &mode, sizeof mode);
    double compression = 0.5; // about 160 kbit/s
    sf_command(file, SFC_SET_COMPRESSION_LEVEL, &compression, sizeof compression);
    sf_count_t written = sf_writef_float(file, clip.samples.data(), clip.frames());
    bool ok = written == clip.frames();
    ok = sf_close(file) == 0 && ok;
    if (!ok) throw std::runtime_error("cannot write " + path);
}

void writeSounds(const std::string& root)
{
    writeMp3(root + "/Sounds/Intro.mp3", introTune());
    writeMp3(root + "/Sounds/waves.mp3", seaWaves());
    writeMp3(root + "/Sounds/pain.mp3", ouch());
}

} // namespace datagen::sounds
