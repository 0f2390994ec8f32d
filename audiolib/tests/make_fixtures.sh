#!/usr/bin/env bash
# Makes the sound files the audio tests read: tones in several WAV formats and MP3 kinds.
# Usage: make_fixtures.sh OUTPUT_DIR
set -euo pipefail
out=$1
mkdir -p "$out"
cd "$out"
tone() { # name rate channels sox-encoding-options seconds frequency
  sox -q -n -r "$2" -c "$3" $4 "$1" synth "$5" sine "$6" vol 0.5
}
# WAV formats. "wavpcm" keeps the plain header; sox writes WAVE_FORMAT_EXTENSIBLE for "wav" above 16 bits.
tone u8_22050_mono.wav        22050 1 "-b 8 -e unsigned-integer -t wavpcm" 1 1000
tone s16_44100_stereo.wav     44100 2 "-b 16 -e signed-integer -t wavpcm" 1 1000
tone s24_48000_stereo_ext.wav 48000 2 "-b 24 -e signed-integer -t wav"    1 1000
tone s32_96000_mono.wav       96000 1 "-b 32 -e signed-integer -t wavpcm" 1 1000
tone f32_32000_stereo.wav     32000 2 "-b 32 -e floating-point -t wavpcm" 1 1000
tone f64_8000_mono.wav         8000 1 "-b 64 -e floating-point -t wavpcm" 1 1000
tone s16_48000_long.wav       48000 2 "-b 16 -e signed-integer -t wavpcm" 3 1000
# MPEG audio: layer III in MPEG 1, 2 and 2.5, CBR and VBR, mono and stereo, one with ID3 tags;
# one layer II file (the board names every effect .mp3, whatever its layer).
tone src_44100.wav 44100 2 "-b 16 -t wavpcm" 2 1000
tone src_22050.wav 22050 1 "-b 16 -t wavpcm" 2 1000
tone src_8000.wav   8000 1 "-b 16 -t wavpcm" 2 1000
lame --quiet -b 128 src_44100.wav mpeg1_cbr_44100_stereo.mp3
lame --quiet -V 4 src_44100.wav mpeg1_vbr_44100_stereo.mp3
lame --quiet -b 64 -m m src_22050.wav mpeg2_cbr_22050_mono.mp3
lame --quiet -b 32 -m m src_8000.wav mpeg25_cbr_8000_mono.mp3
twolame --quiet -b 192 src_44100.wav layer2_44100_stereo.mp3
lame --quiet -b 128 --tt "Crowd laughter" --ta "Board" --add-id3v2 src_44100.wav id3_tagged.mp3
# Ogg Vorbis, FLAC and Ogg Opus, made by Debian's command-line encoders; the stereo ones carry a title.
oggenc --quiet -q 4 -t "Crowd laughter" -o vorbis_44100_stereo.ogg src_44100.wav
oggenc --quiet -q 2 -o vorbis_22050_mono.ogg src_22050.wav
flac --silent -f --best -T "TITLE=Crowd laughter" -o flac_44100_stereo.flac src_44100.wav
# 24-bit as raw samples: flac warns about the headers sox writes for 24-bit WAV.
sox -q -n -r 48000 -c 1 -b 24 -e signed-integer -t raw - synth 2 sine 1000 vol 0.5 |
  flac --silent -f --force-raw-format --endian=little --sign=signed --channels=1 --bps=24 --sample-rate=48000 \
    -o flac_48000_mono_24.flac -
opusenc --quiet --title "Crowd laughter" src_44100.wav opus_stereo.opus
opusenc --quiet src_22050.wav opus_mono.opus
# The same files under names that say otherwise: the bytes decide.
cp vorbis_44100_stereo.ogg vorbis_named.mp3
cp flac_44100_stereo.flac flac_named.wav
cp opus_stereo.opus opus_named.mp3
# MIDI, written byte by byte: a standard MIDI file (type 0, 96 ticks a quarter note, 120 beats a
# minute, so a tick is 250 frames at 48 kHz) named "Test Tune" by a track-name meta event; a piano C4
# for 0.5 s from the start, silence, G4 from 1.0 s to 1.5 s, the end of the track there: 72000 frames.
# The same without the name, wrapped in RIFF RMID, under a name that says otherwise, and cut short.
byte() { printf "\\$(printf %03o "$1")"; } # one byte of this value
be32() { byte $(($1 >> 24 & 255)); byte $(($1 >> 16 & 255)); byte $(($1 >> 8 & 255)); byte $(($1 & 255)); }
le32() { byte $(($1 & 255)); byte $(($1 >> 8 & 255)); byte $(($1 >> 16 & 255)); byte $(($1 >> 24 & 255)); }
smf() { # track events (a printf format) -> a standard MIDI file on stdout
  local track
  track=$(mktemp)
  printf "$1" > "$track"
  printf 'MThd\x00\x00\x00\x06\x00\x00\x00\x01\x00\x60MTrk'
  be32 "$(wc -c < "$track")"
  cat "$track"
  rm -f "$track"
}
notes='\x00\xff\x51\x03\x07\xa1\x20\x00\xc0\x00\x00\x90\x3c\x64\x60\x80\x3c\x40\x60\x90\x43\x64\x60\x80\x43\x40\x00\xff\x2f\x00'
smf "\x00\xff\x03\x09Test Tune$notes" > midi_tune.mid
smf "$notes" > midi_untitled.mid
# RMID: RIFF, its size, "RMID", then the file as its "data" chunk.
size=$(wc -c < midi_tune.mid)
{ printf 'RIFF'; le32 $((size + 12)); printf 'RMIDdata'; le32 "$size"; cat midi_tune.mid; } > midi_tune.rmi
cp midi_tune.mid midi_named.mp3
head -c 10 midi_tune.mid > truncated_header.mid
# An RMID cut inside the place of the MIDI header.
head -c 22 midi_tune.rmi > truncated_header.rmi
# Three minutes, for the benchmark's stream-creation time.
sox -q -n -r 44100 -c 2 -b 16 -t wavpcm src_long.wav synth 180 sine 440 vol 0.5
lame --quiet -b 128 src_long.wav three_minutes.mp3
rm -f src_*.wav
# A minute of noise at the usual device rate, for the benchmark's run without gaps (and, at
# volume 0, to keep its output running).
sox -q -n -r 48000 -c 2 -b 16 -t wavpcm noise_48000_60s.wav synth 60 whitenoise vol 0.3
# Inputs that must be refused.
: > empty.mp3
head -c 40 s16_44100_stereo.wav > truncated_header.wav
head -c 300 mpeg1_cbr_44100_stereo.mp3 > truncated_first_frame.mp3
convert -seed 7 -size 200x200 plasma: -quality 90 picture.jpg && mv picture.jpg picture.mp3
# Ogg holding FLAC, which is not offered, and the new formats cut inside their headers.
flac --silent -f --ogg -o flac_in_ogg.oga s16_44100_stereo.wav
head -c 100 vorbis_44100_stereo.ogg > truncated_header.ogg
head -c 30 flac_44100_stereo.flac > truncated_header.flac
head -c 60 opus_stereo.opus > truncated_header.opus
# Cut inside the data: still a sound, just a shorter one.
head -c 44144 s16_44100_stereo.wav > cut_in_data.wav
touch fixtures.stamp
