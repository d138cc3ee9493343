#include "audio.h"

#include <algorithm>
#include <cmath>

#include "layout.h"
#include "noise.h"

namespace datagen {

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kRate = kSampleRate;

// A float mix buffer turned into clipped 16-bit samples at the end.
struct Mixer {
  std::vector<double> buf;
  explicit Mixer(double seconds) : buf(static_cast<size_t>(seconds * kRate + 0.5), 0.0) {}
  explicit Mixer(size_t samples) : buf(samples, 0.0) {}
  std::vector<int16_t> Finish(double gain) const {
    std::vector<int16_t> out(buf.size());
    for (size_t i = 0; i < buf.size(); ++i) {
      const double v = std::clamp(buf[i] * gain, -1.0, 1.0);
      out[i] = static_cast<int16_t>(std::lround(v * 32000.0));
    }
    return out;
  }
};

// Deterministic white noise by sample index.
double Noise(uint32_t i, uint32_t seed) { return HashUnit(static_cast<int32_t>(i), 0, seed) * 2.0 - 1.0; }

// Sine of a phase in cycles from a table with linear interpolation (the same
// values on every run, and much cheaper than the library sine per sample).
double TableSin(double cycles) {
  static const std::vector<double> table = [] {
    std::vector<double> t(4097);
    for (size_t i = 0; i < t.size(); ++i) t[i] = std::sin(2 * kPi * static_cast<double>(i) / 4096.0);
    return t;
  }();
  double f = cycles - std::floor(cycles);
  const double pos = f * 4096.0;
  const size_t i = static_cast<size_t>(pos);
  const double frac = pos - static_cast<double>(i);
  return table[i] + (table[i + 1] - table[i]) * frac;
}

double Square(double phase) { return std::fmod(phase, 1.0) < 0.5 ? 1.0 : -1.0; }
double Triangle(double phase) {
  const double p = std::fmod(phase, 1.0);
  return p < 0.5 ? 4 * p - 1 : 3 - 4 * p;
}

// A tone whose frequency glides from f0 to f1 over its length, with an attack-decay envelope.
void Tone(Mixer& m, double start, double length, double f0, double f1, double vol, int wave, double decay = 4.0) {
  const size_t s0 = static_cast<size_t>(start * kRate);
  const size_t n = static_cast<size_t>(length * kRate);
  double phase = 0.0;
  for (size_t i = 0; i < n && s0 + i < m.buf.size(); ++i) {
    const double t = static_cast<double>(i) / n;
    const double f = f0 + (f1 - f0) * t;
    phase += f / kRate;
    const double env = std::min(1.0, i / (0.004 * kRate)) * std::exp(-decay * t) * (1.0 - t);
    double v = 0;
    switch (wave) {
      case 0: v = std::sin(2 * kPi * phase); break;
      case 1: v = Square(phase) * 0.6; break;
      default: v = Triangle(phase); break;
    }
    m.buf[s0 + i] += v * env * vol;
  }
}

void NoiseBurst(Mixer& m, double start, double length, double vol, double smooth, uint32_t seed, double decay = 5.0) {
  const size_t s0 = static_cast<size_t>(start * kRate);
  const size_t n = static_cast<size_t>(length * kRate);
  double lp = 0.0;
  for (size_t i = 0; i < n && s0 + i < m.buf.size(); ++i) {
    const double t = static_cast<double>(i) / n;
    lp += (Noise(static_cast<uint32_t>(i), seed) - lp) * smooth;
    m.buf[s0 + i] += lp * vol * std::exp(-decay * t) * (1.0 - t);
  }
}

}  // namespace

std::vector<int16_t> MakeEffect(int slot) {
  switch (slot) {
    case 0: { Mixer m(0.07); NoiseBurst(m, 0, 0.07, 0.7, 0.6, 1, 6); Tone(m, 0, 0.05, 1800, 900, 0.3, 1); return m.Finish(0.8); }
    case 1: { Mixer m(0.16); Tone(m, 0, 0.16, 1400, 300, 0.6, 1, 3); return m.Finish(0.8); }
    case 2: { Mixer m(0.2); Tone(m, 0, 0.08, 1318.5, 1318.5, 0.5, 2); Tone(m, 0.07, 0.13, 1760, 1760, 0.5, 2); return m.Finish(0.9); }
    case 3: { Mixer m(0.2); Tone(m, 0, 0.08, 880, 880, 0.5, 2); Tone(m, 0.07, 0.13, 659.3, 659.3, 0.5, 2); return m.Finish(0.9); }
    case 4: { Mixer m(0.045); Tone(m, 0, 0.045, 1200, 1250, 0.5, 1); return m.Finish(1.6); }
    case 5: {
      Mixer m(0.6);
      const double f[4] = {1046.5, 1318.5, 1568.0, 2093.0};
      for (int k = 0; k < 4; ++k) Tone(m, k * 0.07, 0.35, f[k], f[k], 0.35, 0, 3);
      return m.Finish(0.9);
    }
    case 6: { Mixer m(0.09); Tone(m, 0, 0.09, 600, 1400, 0.5, 2, 2); return m.Finish(0.8); }
    case 7: {
      Mixer m(0.8);
      Tone(m, 0, 0.3, 300, 1500, 0.4, 1, 1);
      for (double f : {1046.5, 1318.5, 1568.0}) Tone(m, 0.28, 0.5, f, f, 0.25, 2, 2);
      return m.Finish(0.9);
    }
    case 8: {
      Mixer m(0.9);
      const double f[5] = {784, 988, 1175, 1568, 1976};
      for (int k = 0; k < 5; ++k) Tone(m, k * 0.08, k == 4 ? 0.5 : 0.16, f[k], f[k], 0.35, 1, 2);
      return m.Finish(1.8);
    }
    case 9: { Mixer m(0.05); Tone(m, 0, 0.05, 2100, 2300, 0.35, 1); return m.Finish(2.0); }
    case 10: {
      Mixer m(0.55);
      Tone(m, 0, 0.55, 900, 80, 0.6, 1, 2);
      NoiseBurst(m, 0, 0.45, 0.5, 0.3, 10, 3);
      return m.Finish(0.9);
    }
    case 11: { Mixer m(0.3); NoiseBurst(m, 0, 0.3, 0.9, 0.25, 11, 6); Tone(m, 0, 0.15, 220, 60, 0.5, 0); return m.Finish(0.9); }
    case 12: {
      Mixer m(1.5);
      NoiseBurst(m, 0, 1.5, 1.0, 0.12, 12, 3);
      Tone(m, 0, 0.8, 160, 30, 0.7, 0, 2);
      NoiseBurst(m, 0.25, 1.0, 0.6, 0.3, 13, 4);
      return m.Finish(0.9);
    }
    case 13: { Mixer m(0.09); Tone(m, 0, 0.09, 1000, 1000, 0.6, 1, 8); NoiseBurst(m, 0, 0.02, 0.5, 0.8, 14, 8); return m.Finish(0.9); }
    case 14: {
      Mixer m(0.75);
      const size_t n = m.buf.size();
      double lp = 0;
      for (size_t i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / n;
        const double k = 0.03 + 0.5 * t;  // the noise opens up: a rising whoosh
        lp += (Noise(static_cast<uint32_t>(i), 15) - lp) * k;
        m.buf[i] += lp * std::sin(kPi * t) * 0.9;
      }
      Tone(m, 0.35, 0.4, 880, 1760, 0.25, 0, 2);
      return m.Finish(0.9);
    }
    case 15: { Mixer m(0.25); Tone(m, 0, 0.12, 523.3, 523.3, 0.45, 0, 2); Tone(m, 0.1, 0.15, 392, 392, 0.45, 0, 2); return m.Finish(0.9); }
    case 16: { Mixer m(0.04); NoiseBurst(m, 0, 0.04, 0.35, 0.7, 16, 5); return m.Finish(0.8); }
    case 17: { Mixer m(0.05); NoiseBurst(m, 0, 0.05, 0.55, 0.35, 17, 4); Tone(m, 0, 0.04, 400, 200, 0.3, 1); return m.Finish(0.8); }
    case 18: {
      Mixer m(0.05);
      for (size_t i = 0; i < m.buf.size(); ++i) {
        const double t = static_cast<double>(i) / m.buf.size();
        m.buf[i] = (Noise(static_cast<uint32_t>(i), 18) - Noise(static_cast<uint32_t>(i + 1), 18)) * 0.3 * (1 - t);
      }
      return m.Finish(0.9);
    }
    default: {
      Mixer m(1.0);
      for (double f : {1046.5, 1318.5, 1568.0, 1975.5}) {
        const size_t n = m.buf.size();
        for (size_t i = 0; i < n; ++i) {
          const double t = static_cast<double>(i) / n;
          m.buf[i] += std::sin(2 * kPi * f * i / kRate) * (0.5 + 0.5 * std::sin(2 * kPi * 7 * t)) * 0.15 * (1 - t);
        }
      }
      return m.Finish(0.9);
    }
  }
}

// ---- Music ----

namespace {

struct TrackStyle {
  int introBars, bodyBars;
  double barSeconds;  // used when the track has no loop point
  int key;            // semitones above A3 (220 Hz) for the tonic
  bool minor;
  int energy;         // 0 calm, 1 stage, 2 boss
  uint32_t seed;
};

TrackStyle StyleOf(int track) {
  switch (track) {
    case 1: return {0, 8, 2.0, 3, true, 1, 901};
    case 2: return {2, 8, 0, 0, true, 1, 902};
    case 3: return {0, 8, 2.0, 5, true, 1, 903};
    case 4: return {1, 8, 0, 2, true, 2, 904};
    case 5: return {4, 8, 0, 7, true, 2, 905};
    case 6: return {5, 8, 0, 4, true, 2, 906};
    case 7: return {2, 8, 0, 9, true, 2, 907};
    case 8: return {0, 8, 1.7, 1, true, 2, 908};
    case 9: return {8, 8, 0, 6, true, 1, 909};
    case 10: return {10, 8, 0, 3, true, 2, 910};
    case 11: return {0, 8, 1.6, 0, true, 2, 911};
    case 12: return {0, 8, 1.65, 8, true, 2, 912};
    case 13: return {0, 8, 2.4, 3, false, 0, 913};
    default: return {0, 8, 2.2, 8, false, 0, 914};
  }
}

double Freq(int semitonesFromA3) { return 220.0 * std::pow(2.0, semitonesFromA3 / 12.0); }

// Scale degree (0 = tonic, may be negative or above 6) to semitones.
int Degree(int d, bool minor) {
  static const int maj[7] = {0, 2, 4, 5, 7, 9, 11}, mnr[7] = {0, 2, 3, 5, 7, 8, 10};
  const int oct = (d >= 0) ? d / 7 : -((-d + 6) / 7);
  const int idx = d - oct * 7;
  return oct * 12 + (minor ? mnr[idx] : maj[idx]);
}

// One voice note into the buffer; the note's release ends inside its length.
void Note(std::vector<double>& buf, int64_t start, int64_t len, double f, double vol, int instrument) {
  if (len <= 0) return;
  double phase = 0.0;
  for (int64_t i = 0; i < len; ++i) {
    const int64_t at = start + i;
    if (at < 0 || at >= static_cast<int64_t>(buf.size())) continue;
    const double t = i / kRate;
    const double rel = std::min(1.0, (len - i) / (0.02 * kRate));  // 20 ms release before the end
    double v = 0.0, env = 1.0;
    switch (instrument) {
      case 0: {  // lead: square-ish with vibrato
        phase += f * (1.0 + 0.004 * TableSin(5.5 * t) * std::min(1.0, t * 4)) / kRate;
        v = 0.55 * Square(phase) + 0.45 * TableSin(phase);
        env = std::min(1.0, t / 0.01) * (0.7 + 0.3 * std::exp(-t * 6));
        break;
      }
      case 1: {  // bass: triangle
        phase += f / kRate;
        v = Triangle(phase);
        env = std::min(1.0, t / 0.005) * (0.6 + 0.4 * std::exp(-t * 5));
        break;
      }
      case 2: {  // pad: soft sines
        phase += f / kRate;
        v = TableSin(phase) * 0.6 + TableSin(2 * phase) * 0.25 + TableSin(3 * phase) * 0.1;
        env = std::min(1.0, t / 0.15);
        break;
      }
      default: {  // bell arpeggio
        phase += f / kRate;
        v = TableSin(phase) + 0.3 * TableSin(phase * 3.01);
        env = std::exp(-t * 5);
        break;
      }
    }
    buf[static_cast<size_t>(at)] += v * env * rel * vol;
  }
}

void Drum(std::vector<double>& buf, int64_t start, int kind, double vol, uint32_t seed) {
  const int64_t len = static_cast<int64_t>((kind == 0 ? 0.18 : kind == 1 ? 0.14 : 0.04) * kRate);
  double phase = 0.0, lp = 0.0;
  for (int64_t i = 0; i < len; ++i) {
    const int64_t at = start + i;
    if (at < 0 || at >= static_cast<int64_t>(buf.size())) continue;
    const double t = static_cast<double>(i) / len;
    double v = 0.0;
    if (kind == 0) {
      phase += (120.0 - 80.0 * t) / kRate;
      v = std::sin(2 * kPi * phase) * (1 - t);
    } else if (kind == 1) {
      lp += (Noise(static_cast<uint32_t>(i), seed) - lp) * 0.5;
      v = lp * (1 - t) * (1 - t);
    } else {
      const double n = Noise(static_cast<uint32_t>(i), seed + 3);
      v = (n - lp) * (1 - t);
      lp = n;
    }
    const double attack = std::min(1.0, i / (0.002 * kRate));  // 2 ms: no click at the hit
    buf[static_cast<size_t>(at)] += v * vol * attack;
  }
}

// One note of a two-bar phrase: its slot (eighths, 0-15), length in eighths and
// its pitch as scale degrees above the root of the bar's chord.
struct PhraseNote {
  int start, length, offset;
  bool rest;
};
struct Phrase {
  std::vector<PhraseNote> notes;
};

// A phrase from a seed: calm tracks move in longer notes, boss tracks in shorter;
// strong beats take chord tones, the others step from the last note.
Phrase MakePhrase(uint32_t seed, int energy) {
  static const int calm[4] = {2, 2, 4, 3}, stage[4] = {2, 1, 2, 3}, boss[4] = {1, 1, 2, 2};
  const int* lengths = energy == 0 ? calm : (energy == 1 ? stage : boss);
  Phrase p;
  int slot = 0, offset = 0;
  while (slot < 16) {
    const uint32_t h = Hash3(slot, 77, seed);
    int len = lengths[h % 4];
    if (slot % 8 + len > 8) len = 8 - slot % 8;  // notes stay inside their bar
    if (slot + len >= 16) len = 16 - slot;        // the phrase ends on a held note
    const bool strong = slot % 4 == 0;
    if (strong) {
      static const int chordTones[3] = {0, 2, 4};
      offset = chordTones[(h >> 8) % 3];
    } else {
      offset += static_cast<int>((h >> 12) % 5) - 2;
      offset = std::clamp(offset, -2, 6);
    }
    const bool rest = !strong && (h >> 20) % 7 == 0;
    p.notes.push_back({slot, len, offset, rest});
    slot += len;
  }
  return p;
}

}  // namespace

std::vector<int16_t> MakeTrack(int track) {
  const TrackStyle st = StyleOf(track);
  const int loopMs = TrackLoopMs(track);
  // A loop point lies on the bar line after the intro; a track without one uses its own bar.
  const double bar = loopMs > 0 && st.introBars > 0 ? loopMs / 1000.0 / st.introBars : st.barSeconds;
  const int bars = st.introBars + st.bodyBars;
  // Bar starts in samples, exact on the loop point.
  auto barStart = [&](double b) { return static_cast<int64_t>(std::floor(b * bar * kRate + 0.5)); };
  const int64_t total = barStart(bars);
  std::vector<double> buf(static_cast<size_t>(total), 0.0);
  const int tonic = st.key;
  // Chords as scale degrees of their roots; the body ends on the dominant, which leads
  // back to the tonic at the loop point (the first bar of the body).
  static const int bodyMinor[8] = {0, 5, 2, 6, 0, 5, 3, 4};
  static const int bodyMajor[8] = {0, 4, 5, 3, 0, 4, 1, 4};
  static const int introChords[4] = {0, 5, 3, 4};
  auto chordOf = [&](int b) {
    if (b < st.introBars) {
      // The last intro bar is the dominant.
      const int fromEnd = st.introBars - 1 - b;
      return introChords[(3 - fromEnd % 4 + 4) % 4];
    }
    const int k = (b - st.introBars) % 8;
    return st.minor ? bodyMinor[k] : bodyMajor[k];
  };
  const double beat = bar / 4.0;
  const int64_t beatLen = static_cast<int64_t>(beat * kRate);
  const Phrase phraseA = MakePhrase(st.seed, st.energy), phraseB = MakePhrase(st.seed * 7 + 3, st.energy);
  int prevDeg = 7;
  for (int b = 0; b < bars; ++b) {
    const int root = chordOf(b);
    const int64_t b0 = barStart(b), b1 = barStart(b + 1);
    const bool inBody = b >= st.introBars;
    // Pad: the chord's triad for the whole bar.
    for (int k = 0; k < 3; ++k)
      Note(buf, b0, b1 - b0, Freq(tonic + Degree(root + 2 * k, st.minor)), st.energy == 0 ? 0.07 : 0.05, 2);
    // Bass: root on each beat (eighths for bosses).
    const int bassHits = st.energy == 2 ? 8 : 4;
    for (int k = 0; k < bassHits; ++k) {
      const int64_t s = b0 + (b1 - b0) * k / bassHits, e = b0 + (b1 - b0) * (k + 1) / bassHits;
      const int deg = root + ((k % 4 == 2 && st.energy > 0) ? 4 : 0);
      Note(buf, s, e - s, Freq(tonic - 12 + Degree(deg, st.minor)), 0.22, 1);
    }
    // Drums.
    if (st.energy > 0) {
      for (int k = 0; k < 8; ++k) {
        const int64_t s = b0 + (b1 - b0) * k / 8;
        if (k % 4 == 0) Drum(buf, s, 0, 0.5, 1);
        if (k % 4 == 2 && (inBody || st.energy == 2)) Drum(buf, s, 1, 0.25, 2);
        Drum(buf, s, 2, st.energy == 2 ? 0.12 : 0.08, 3);
      }
    } else {
      for (int k = 0; k < 8; ++k) {  // calm tracks: a bell arpeggio instead of drums
        const int64_t s = b0 + (b1 - b0) * k / 8;
        Note(buf, s, beatLen, Freq(tonic + 12 + Degree(root + (k % 4) * 2 % 7, st.minor)), 0.06, 3);
      }
    }
    // Melody: a two-bar phrase of the track's own (rhythm and contour from its seed)
    // sung as A A B A' over the body's eight bars; A' ends on the dominant, which
    // leads back to the loop point. It enters with the body.
    if (!inBody && st.introBars > 0) continue;
    if (st.introBars == 0 && b == 0 && st.energy == 0) continue;
    const int bodyBar = b - st.introBars;
    const int section = (bodyBar % 8) / 2;  // 0 A, 1 A, 2 B, 3 A'
    const Phrase& ph = section == 2 ? phraseB : phraseA;
    const int half = bodyBar % 2;  // which bar of the phrase
    for (size_t n = 0; n < ph.notes.size(); ++n) {
      const PhraseNote& pn = ph.notes[n];
      if (pn.start / 8 != half || pn.rest) continue;
      int offset = pn.offset;
      const bool cadence = section == 3 && n + 1 == ph.notes.size();
      if (cadence) offset = 0;  // the dominant's root
      // The chord tone (or passing tone) nearest to the previous note.
      int deg = root + offset;
      int best = 1000, pick = deg;
      for (int oct = -7; oct <= 14; oct += 7) {
        const int cand = deg + oct;
        if (cand < 3 || cand > 13) continue;
        if (std::abs(cand - prevDeg) < best) { best = std::abs(cand - prevDeg); pick = cand; }
      }
      prevDeg = pick;
      const int slot = pn.start % 8;
      const int len = std::min(pn.length, 8 - slot);
      const int64_t s = b0 + (b1 - b0) * slot / 8;
      const int64_t e = b0 + (b1 - b0) * (slot + len) / 8;
      Note(buf, s, e - s - static_cast<int64_t>(0.01 * kRate), Freq(tonic + Degree(pick, st.minor)), 0.16, 0);
    }
  }
  Mixer m(buf.size());
  m.buf = std::move(buf);
  return m.Finish(0.9);
}

}  // namespace datagen
