#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# audio_daemons.sh start|kill pulseaudio|speechd, or kill spawned-speechd
# Starts, or kills as a crash would (SIGKILL), the private audio server and
# speech-dispatcher of with_services.sh, which starts them through this
# script and exports its path in VOXMERE_TEST_DAEMONS. A daemon started again
# has the same null sink (VOXMERE_TEST_SINK) or the same socket
# (SPEECHD_ADDRESS) as before, so a test can pull a daemon away from a
# running program and bring it back. Pid files and logs live in
# XDG_RUNTIME_DIR.
#   start pulseaudio  returns once the server answers, its null sink the
#                     default, with a short-latency reader on the sink's
#                     monitor that has brought the sink out of the 2 s
#                     blocks an idle null sink runs in (a sound card's
#                     sink has no such delay)
#   start speechd     returns once the daemon listens on its socket
#   kill NAME         returns once the daemon is gone (nothing to do when
#                     it is not running); spawned-speechd is the daemon a
#                     client's libspeechd started on the user's socket
#                     ($XDG_RUNTIME_DIR/speech-dispatcher/speechd.sock)
set -euo pipefail

run=${XDG_RUNTIME_DIR:?}
speechd_socket=$run/speechd.sock
speechd_pid_file=$run/speechd.pid
pulse_pid_file=$run/pulse/pid

# wait_for SECONDS COMMAND...: polls every 20 ms until COMMAND succeeds.
wait_for() {
  local deadline=$((SECONDS + $1))
  shift
  until "$@" >/dev/null 2>&1; do
    if [ $SECONDS -ge $deadline ]; then
      echo "audio_daemons.sh: timed out waiting for: $*" >&2
      return 1
    fi
    sleep 0.02
  done
}

# running PID: whether the process runs (a zombie has ended: the daemons
# are not our children, and whoever reaps them may be slow to).
running() {
  local stat
  stat=$(cat "/proc/$1/stat" 2>/dev/null) || return 1
  stat=${stat##*) }
  [ "${stat:0:1}" != Z ]
}

# kill_pid_in FILE: SIGKILL to the process the file names, waits for it and
# removes the file.
kill_pid_in() {
  local pid
  pid=$(cat "$1" 2>/dev/null) || return 0
  [ -n "$pid" ] || return 0
  kill -KILL "$pid" 2>/dev/null || return 0
  local deadline=$((SECONDS + 10))
  while running "$pid"; do
    if [ $SECONDS -ge $deadline ]; then
      echo "audio_daemons.sh: process $pid does not end" >&2
      return 1
    fi
    sleep 0.02
  done
  # A zombie would still count as running to a daemon checking its pid file.
  rm -f "$1"
}

case "${1:-} ${2:-}" in
  "start pulseaudio")
    # Running as root (CI) is fine for a private daemon; it only warns.
    pulseaudio -D -n --exit-idle-time=-1 --disallow-exit --log-target=newfile:"$run/pulse.log" \
      --load=module-native-protocol-unix \
      --load="module-null-sink sink_name=${VOXMERE_TEST_SINK:?}" \
      --load="module-always-sink" 2>/dev/null
    wait_for 10 pactl info
    pactl set-default-sink "$VOXMERE_TEST_SINK"
    # Ends by itself when the server goes.
    parec --latency-msec=10 -d "$VOXMERE_TEST_SINK.monitor" >/dev/null 2>&1 </dev/null &
    # The reader takes the sink out of its long blocks only after a while.
    sleep 2.5
    ;;
  "start speechd")
    # Where a killed daemon left its socket, the new one would not listen.
    rm -f "$speechd_socket"
    # In the foreground (-s) so that the pid file names the daemon itself:
    # with -d it names the process that forked.
    speech-dispatcher -s -t 0 -c unix_socket -S "$speechd_socket" -L "$run" \
      -P "$speechd_pid_file" >/dev/null 2>&1 </dev/null &
    wait_for 10 test -S "$speechd_socket"
    ;;
  "kill pulseaudio") kill_pid_in "$pulse_pid_file" ;;
  "kill speechd") kill_pid_in "$speechd_pid_file" ;;
  "kill spawned-speechd") kill_pid_in "$run/speech-dispatcher/pid/speech-dispatcher.pid" ;;
  *)
    echo "usage: audio_daemons.sh start|kill pulseaudio|speechd, or kill spawned-speechd" >&2
    exit 2
    ;;
esac
