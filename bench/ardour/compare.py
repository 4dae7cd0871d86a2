#!/usr/bin/env python3
"""Summarises a run.sh folder: export times per session and build (minimum
and median), real-time factors, and how the builds' exports differ."""

import array
import math
import statistics
import struct
import sys
from collections import defaultdict
from pathlib import Path


def read_float_wav(path):
    """Interleaved samples and channel count of a 32-bit float WAV."""
    data = path.read_bytes()
    if data[:4] != b"RIFF" or data[8:12] != b"WAVE":
        raise ValueError(f"{path}: not a WAV file")
    channels, samples, pos = 0, None, 12
    while pos + 8 <= len(data):
        tag, size = data[pos:pos + 4], struct.unpack_from("<I", data, pos + 4)[0]
        body = data[pos + 8:pos + 8 + size]
        if tag == b"fmt ":
            fmt, channels = struct.unpack_from("<HH", body)
            bits = struct.unpack_from("<H", body, 14)[0]
            if fmt == 0xFFFE:
                fmt = struct.unpack_from("<H", body, 24)[0]
            if fmt != 3 or bits != 32:
                raise ValueError(f"{path}: not 32-bit float")
        elif tag == b"data":
            samples = array.array("f")
            samples.frombytes(body[:len(body) // 4 * 4])
        pos += 8 + size + (size & 1)
    if samples is None or channels == 0:
        raise ValueError(f"{path}: no audio")
    return samples, channels


def level(samples):
    finite = [s for s in samples if math.isfinite(s)]
    peak = max((abs(s) for s in finite), default=0.0)
    rms = math.sqrt(sum(s * s for s in finite) / len(finite)) if finite else 0.0
    return peak, rms, len(samples) - len(finite)


def db(v):
    return 20 * math.log10(v) if v > 0 else float("-inf")


def realtime(audio, cpu):
    """Seconds of audio per CPU second; differences of times measured to the
    hundredth are noise below 0.05 s."""
    return f"{audio / cpu:7.2f}x" if cpu >= 0.05 else "   (within noise)"


def max_difference(a, b):
    if len(a) != len(b):
        return float("nan")
    return max((abs(x - y) for x, y in zip(a, b)), default=0.0)


def main(folder):
    rows = defaultdict(list)
    timed = defaultdict(list)  # WAVs of the exports that finished
    builds, sessions, loads = [], [], []
    lines = (folder / "times.tsv").read_text().splitlines()[1:]
    for line in lines:
        session, build, repeat, wall, user, sys_, load = line.split("\t")
        rows[session, build].append((float(wall), float(user), float(user) + float(sys_)))
        timed[session, build].append(folder / "wav" / f"{session}-{build}-{repeat}.wav")
        loads.append(float(load))
        if build not in builds:
            builds.append(build)
        if session not in sessions:
            sessions.append(session)

    audio_seconds, cpu_median = {}, {}
    print(f"load average (1 min) at the exports: {min(loads):.2f} .. {max(loads):.2f}")
    print("session    build           n  wall min/med   user min/med   cpu min/med   audio s  realtime")
    for session in sessions:
        for build in builds:
            runs = rows[session, build]
            if not runs:
                continue
            samples, channels = read_float_wav(timed[session, build][0])
            seconds = len(samples) / channels / 48000
            audio_seconds[session] = seconds
            wall, user, cpu = zip(*runs)
            cpu_median[session, build] = statistics.median(cpu)
            print(f"{session:10} {build:14} {len(runs):2}  {min(wall):5.2f} {statistics.median(wall):5.2f}"
                  f"    {min(user):5.2f} {statistics.median(user):5.2f}   {min(cpu):5.2f} {statistics.median(cpu):5.2f}"
                  f"   {seconds:6.2f}  {seconds / statistics.median(cpu):6.2f}x")

    idle = next((s for s in sessions if s == "chord0"), None)
    if idle is not None:
        print("\nCPU above the idle session (median user+sys), and the real-time factor of that part:")
        for session in sessions:
            if session == idle:
                continue
            for build in builds:
                if (session, build) in cpu_median and (idle, build) in cpu_median:
                    extra = cpu_median[session, build] - cpu_median[idle, build]
                    print(f"{session:10} {build:14} {extra:6.2f} s  {realtime(audio_seconds[session], extra)}")

    profile = folder / "perf.tsv"
    plugin = defaultdict(list)
    if profile.exists():
        for line in profile.read_text().splitlines()[1:]:
            session, build, repeat, total, samples, rate = line.split("\t")
            plugin[session, build].append((int(samples) / float(rate), int(total) / float(rate)))
    if plugin:
        print("\nUnder perf: CPU seconds in Grelmond.so (of the whole export), minimum and median;")
        print("real-time factor of the plug-in above its idle-session cost (start-up and idle blocks),")
        print("from the medians and from the minima:")
        for session in sessions:
            for build in builds:
                runs = plugin[session, build]
                if not runs:
                    continue
                own = statistics.median(r[0] for r in runs)
                line = (f"{session:10} {build:14} {len(runs):2}  plug-in {min(r[0] for r in runs):5.2f} {own:5.2f} s"
                        f"  (whole {statistics.median(r[1] for r in runs):5.2f} s)")
                if idle is not None and session != idle and plugin[idle, build]:
                    extra = own - statistics.median(r[0] for r in plugin[idle, build])
                    line += f"  above idle {extra:5.2f} s  {realtime(audio_seconds[session], extra)}"
                    least = min(r[0] for r in runs) - min(r[0] for r in plugin[idle, build])
                    line += f"  (minima: {least:5.2f} s {realtime(audio_seconds[session], least).strip()})"
                print(line)

    print("\nExports (first repeat of each build; max |difference| against the first build):")
    for session in sessions:
        reference = None
        for build in builds:
            wavs = timed[session, build]
            if not wavs:
                continue
            samples, channels = read_float_wav(wavs[0])
            peak, rms, bad = level(samples)
            if reference is None:
                reference = samples
            repeats_equal = all(read_float_wav(w)[0] == samples for w in wavs[1:])
            print(f"{session:10} {build:14} frames {len(samples) // channels:7d}  peak {peak:9.6f} ({db(peak):6.1f} dBFS)"
                  f"  rms {rms:9.6f} ({db(rms):6.1f} dBFS)  non-finite {bad}"
                  f"  max diff {max_difference(reference, samples):.3g}"
                  f"  repeats identical {'yes' if repeats_equal else 'NO'}")


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit("usage: compare.py RUN_FOLDER")
    main(Path(sys.argv[1]))
