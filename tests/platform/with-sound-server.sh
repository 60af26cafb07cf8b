#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
# SPDX-License-Identifier: GPL-3.0-or-later

# with-sound-server.sh COMMAND [ARGS...]
#
# Runs COMMAND with a PulseAudio server reachable. When none answers, starts a private one whose
# only sink is a null sink named "testsink" (what is played there can be recorded from
# "testsink.monitor"), in a temporary folder of its own, exports PULSE_SERVER for COMMAND, and
# afterwards stops exactly that server and removes the folder. Exits with COMMAND's status, or 1
# when no server could be had.
set -u

dir=$(mktemp -d "${TMPDIR:-/tmp}/velmor-pulse.XXXXXX") || exit 1
pid=

cleanup() {
    if [ -n "$pid" ]; then
        kill "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
    fi
    rm -rf "$dir"
}
trap cleanup EXIT
trap 'exit 129' HUP
trap 'exit 130' INT
trap 'exit 143' TERM

# Probing must not spawn a server as a side effect (libpulse autospawns for ordinary users).
printf 'autospawn = no\n' >"$dir/client.conf"
if PULSE_CLIENTCONFIG="$dir/client.conf" pactl info >/dev/null 2>&1; then
    "$@"
    exit $?
fi

if ! command -v pulseaudio >/dev/null 2>&1; then
    echo "$0: no PulseAudio server is running and pulseaudio is not installed" >&2
    exit 1
fi

# -n: no default.pa, so nothing but the two modules below; HOME and the state paths point into
# the folder so that the server leaves no cookie or state behind.
mkdir -p "$dir/home" "$dir/runtime" "$dir/state"
HOME="$dir/home" XDG_CONFIG_HOME="$dir/home" PULSE_RUNTIME_PATH="$dir/runtime" \
    PULSE_STATE_PATH="$dir/state" \
    pulseaudio -n --daemonize=no --use-pid-file=no --exit-idle-time=-1 --log-target=stderr \
    --load="module-null-sink sink_name=testsink" \
    --load="module-native-protocol-unix socket=$dir/native auth-anonymous=1" \
    >"$dir/pulseaudio.log" 2>&1 &
pid=$!

# Clients too keep their cookie and runtime link in the folder rather than in ~/.config/pulse.
export PULSE_SERVER="unix:$dir/native" PULSE_COOKIE="$dir/cookie" PULSE_RUNTIME_PATH="$dir/runtime"
tries=0
until PULSE_CLIENTCONFIG="$dir/client.conf" pactl info >/dev/null 2>&1; do
    tries=$((tries + 1))
    if [ "$tries" -gt 100 ] || ! kill -0 "$pid" 2>/dev/null; then
        echo "$0: the private PulseAudio server did not come up:" >&2
        cat "$dir/pulseaudio.log" >&2
        exit 1
    fi
    sleep 0.1
done
pactl set-default-sink testsink

"$@"
exit $?
