# The sounds in a recording, as "Hz:ms Hz:ms …": each run of one pitch, with
# how long that pitch was heard. Input: sox's dat output of 44.1 kHz mono
# ("time value" lines). The tones are 440, 660, 880 and 1000 Hz.
#
# A busy machine makes the sound card's stream run dry now and then: a tone
# then stops and goes on where it stopped, so the recording holds gaps of
# silence inside a tone (seen here: 5 ms to 1 s, most under 300 ms;
# the sounds that follow each other in one pitch are over a second apart).
# Counting zero crossings over whole windows would read a window that is half
# tone and half gap as half the pitch (a 880 Hz click then sounds like
# 440 Hz). So the pitch of a 20 ms window comes from its stretches of sound
# alone: the crossings from a stretch's first to its last, over the time
# between them. Only samples beyond a tenth of full scale count, a third of
# the tones' loudness: the ringing where a gap cuts a tone stays below it. A
# window with less than 5 ms of sound is silence.

function flush() {
  if (crossings > 1) { halves += crossings - 1; span += last - first }
  crossings = 0
}

function window_end(   pitch, f, i) {
  flush()
  pitch = "-"
  if (span >= 0.005 * 44100) {
    f = halves / 2 / (span / 44100)
    pitch = tones[1]
    for (i = 2; i <= 4; i++) if ((f - tones[i]) ^ 2 < (f - pitch) ^ 2) pitch = tones[i]
  }
  if (runs && pitch == p[runs]) c[runs]++
  else { runs++; p[runs] = pitch; c[runs] = 1 }
  n = 0; halves = 0; span = 0; loud = -1000
}

BEGIN { split("440 660 880 1000", tones, " "); loud = -1000 }
/^;/ { next }
{
  v = $2; n++
  if (v > 0.1 || v < -0.1) {
    sign = v < 0
    if (n - loud > 44) flush()  # more than 1 ms of silence: a new stretch
    else if (sign != lastsign) {
      if (crossings == 0) first = n
      last = n; crossings++
    }
    loud = n; lastsign = sign
  }
  if (n == 882) window_end()
}
END {
  # The runs as heard. A run of one pitch takes in: more of its pitch; a run
  # of another pitch shorter than 3 windows (a tone's edge); and, before more
  # of its pitch, silence of less than 40 windows in all with any such short
  # runs in it (gaps in the tone). A sound heard for less than 60 ms in all
  # is a glitch.
  for (r = 1; r <= runs; r++) {
    if (m && p[r] == P[m]) { C[m] += c[r]; continue }
    if (m && P[m] != "-" && p[r] != "-" && c[r] < 3) { C[m] += c[r]; continue }
    if (m && P[m] != "-" && p[r] == "-") {
      silence = 0
      for (j = r; j <= runs && (p[j] == "-" || (p[j] != P[m] && c[j] < 3)); j++)
        if (p[j] == "-") silence += c[j]
      if (silence < 40 && j <= runs && p[j] == P[m]) {
        for (k = r; k < j; k++) if (p[k] != "-") C[m] += c[k]
        r = j - 1
        continue
      }
    }
    m++; P[m] = p[r]; C[m] = c[r]
  }
  for (r = 1; r <= m; r++) if (P[r] != "-" && C[r] >= 3) printf "%s:%d ", P[r], C[r] * 20
}
