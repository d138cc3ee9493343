#!/bin/sh
# Makes the compressed sound fixtures of the sound tests with SoX, and SoX's
# own decode of each to raw 16-bit little-endian PCM as the reference that the
# library's decoders must equal. Run in this folder; the outputs are committed.
set -e
SIG="synth 0.2 sine 300-3000 sine 500 vol 0.8"
sox -D -R -n -r 22050 -c 2 -e ima-adpcm ima_stereo.wav $SIG
sox -D -R -n -r 11025 -c 1 -e ima-adpcm ima_mono.wav synth 0.2 sine 300-3000
sox -D -R -n -r 22050 -c 2 -e ms-adpcm ms_stereo.wav $SIG
sox -D -R -n -r 11025 -c 1 -e ms-adpcm ms_mono.wav synth 0.2 sine 300-3000
sox -D -R -n -r 8000 -c 1 -e a-law alaw_mono.wav synth 0.2 sine 300-3000
sox -D -R -n -r 8000 -c 2 -e u-law ulaw_stereo.wav $SIG
for f in ima_stereo ima_mono ms_stereo ms_mono alaw_mono ulaw_stereo; do
  sox -D -R $f.wav -t raw -e signed -b 16 -L $f.ref.raw
done
# Ogg Vorbis: one second of a 441 Hz sine at half scale, mono, 44.1 kHz.
sox -D -R -n -r 44100 -c 1 -C 6 sine441.ogg synth 1 sine 441 vol 0.5
# Damaged links of sine441.ogg (see damage_ogg.py).
python3 damage_ogg.py sine441.ogg foreign_link.ogg bad_codebook.ogg
