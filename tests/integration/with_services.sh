#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# with_services.sh [x11] [audio] [speechd] [tray] [sni] [wm] [sway] -- COMMAND [ARGS...]
# Runs COMMAND with private services of its own, all torn down afterwards:
#   x11      an Xvfb server on a free display, COMMAND inside dbus-run-session
#   audio    a PulseAudio daemon whose default sink is a null sink, named in
#            VOXMERE_TEST_SINK (record it from "$VOXMERE_TEST_SINK.monitor")
#            ("$VOXMERE_TEST_DAEMONS" kill|start pulseaudio|speechd takes
#            the audio server or speech-dispatcher away and brings it back)
#   speechd  speech-dispatcher on a private socket (SPEECHD_ADDRESS), playing
#            through that PulseAudio daemon (implies audio)
#   tray     a tray host (trayer, at the top right of the screen) on that X
#            server, ready once it owns the tray selection (implies x11)
#   sni      a StatusNotifierItem host: xfce4-panel with its status tray
#            plugin on that X server and on the session bus COMMAND uses,
#            ready once org.kde.StatusNotifierWatcher is owned (implies x11);
#            its settings are in $VOXMERE_TEST_PANEL_CONFIG, and
#            "xfce4-panel --disable-wm-check" starts it again
#   wm       a window manager (openbox, with its default settings) on that X
#            server, ready once it owns the WM_S0 selection and has set
#            _NET_SUPPORTING_WM_CHECK (implies x11);
#            it starts before the tray hosts, as in a desktop session
#   sway     a Wayland session instead of Xvfb: sway on its headless back end
#            (no GPU, no input devices) with XWayland and swaybar, whose tray
#            is a StatusNotifierItem host on the session bus COMMAND uses;
#            COMMAND gets WAYLAND_DISPLAY, SWAYSOCK (for swaymsg) and DISPLAY
#            (XWayland's); ready once sway and XWayland answer and the tray
#            owns org.kde.StatusNotifierWatcher; not with x11, tray, sni or wm
# HOME and the XDG folders point into a fresh temporary folder, so tests never
# touch the user's settings, and XDG_RUNTIME_DIR is a private 0700 folder.
set -euo pipefail

want_x11=0 want_audio=0 want_speechd=0 want_tray=0 want_sni=0 want_wm=0 want_sway=0
while [ $# -gt 0 ] && [ "$1" != "--" ]; do
  case $1 in
    x11) want_x11=1 ;;
    audio) want_audio=1 ;;
    speechd) want_audio=1 want_speechd=1 ;;
    tray) want_x11=1 want_tray=1 ;;
    sni) want_x11=1 want_sni=1 ;;
    wm) want_x11=1 want_wm=1 ;;
    sway) want_sway=1 ;;
    *) echo "with_services.sh: unknown service '$1'" >&2; exit 2 ;;
  esac
  shift
done
[ "${1:-}" = "--" ] && shift
[ $# -gt 0 ] || { echo "with_services.sh: no command" >&2; exit 2; }
if [ "$want_sway" = 1 ] && [ "$want_x11" = 1 ]; then
  echo "with_services.sh: sway brings its own X server (XWayland); not with x11, tray, sni or wm" >&2
  exit 2
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/voxmere-services.XXXXXX")
chmod 700 "$work"
mkdir -m 700 "$work/run"
mkdir -p "$work/home" "$work/config" "$work/state" "$work/cache" "$work/data"
export XDG_RUNTIME_DIR=$work/run HOME=$work/home XDG_CONFIG_HOME=$work/config
export XDG_STATE_HOME=$work/state XDG_CACHE_HOME=$work/cache XDG_DATA_HOME=$work/data
unset SESSION_MANAGER DBUS_SESSION_BUS_ADDRESS
VOXMERE_TEST_DAEMONS=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/audio_daemons.sh
export VOXMERE_TEST_DAEMONS

pids=()
cleanup() {
  local pid
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  if [ "$want_speechd" = 1 ]; then "$VOXMERE_TEST_DAEMONS" kill speechd || true; fi
  if [ "$want_audio" = 1 ]; then pulseaudio --kill 2>/dev/null || true; fi
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 143' TERM INT

# wait_for SECONDS COMMAND...: polls every 20 ms until COMMAND succeeds.
wait_for() {
  local deadline=$((SECONDS + $1))
  shift
  until "$@" >/dev/null 2>&1; do
    if [ $SECONDS -ge $deadline ]; then
      echo "with_services.sh: timed out waiting for: $*" >&2
      return 1
    fi
    sleep 0.02
  done
}

if [ "$want_x11" = 1 ]; then
  exec {display_fd}>"$work/display"
  Xvfb -displayfd "$display_fd" -screen 0 1280x1024x24 -nolisten tcp -noreset \
    >"$work/xvfb.log" 2>&1 &
  pids+=($!)
  exec {display_fd}>&-
  wait_for 10 test -s "$work/display"
  export DISPLAY=":$(head -n1 "$work/display")"
  unset WAYLAND_DISPLAY
fi

# selection_owned NAME: whether a client owns the selection NAME on the X
# server. Asked over the X protocol itself (perl is always there; no X tool
# prints selection owners): InternAtom (only if it exists), then
# GetSelectionOwner.
selection_owned() {
  SELECTION=$1 perl -e '
    use strict; use IO::Socket::UNIX;
    my ($number) = ($ENV{DISPLAY} // "") =~ /^:(\d+)/ or exit 2;
    my $x = IO::Socket::UNIX->new(Type => SOCK_STREAM, Peer => "/tmp/.X11-unix/X$number")
      or exit 2;
    sub take { my ($n, $got) = (shift, ""); while (length($got) < $n) {
      sysread($x, $got, $n - length($got), length($got)) or exit 2; } $got }
    syswrite($x, pack("a1 x v v v v x2", "l", 11, 0, 0, 0));
    my $setup = take(8);
    exit 2 unless ord($setup) == 1;
    take(4 * unpack("x6 v", $setup));
    my $name = $ENV{SELECTION};
    my $padded = $name . ("\0" x ((4 - length($name) % 4) % 4));
    syswrite($x, pack("C C v v x2 a*", 16, 1, 2 + length($padded) / 4, length($name), $padded));
    my $reply = take(32);
    exit 2 unless ord($reply) == 1;
    my $atom = unpack("x8 V", $reply) or exit 1;
    syswrite($x, pack("C x v V", 23, 2, $atom));
    $reply = take(32);
    exit 2 unless ord($reply) == 1;
    exit(unpack("x8 V", $reply) ? 0 : 1);'
}

if [ "$want_wm" = 1 ]; then
  # No session manager, and openbox's own settings as a new user has them.
  openbox --sm-disable >"$work/openbox.log" 2>&1 &
  pids+=($!)
  wait_for 10 selection_owned WM_S0
  # It names itself on the root window once it manages the screen.
  wait_for 10 sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"'
fi

if [ "$want_tray" = 1 ]; then
  trayer --edge top --align right --widthtype request --height 24 --transparent false \
    >"$work/trayer.log" 2>&1 &
  pids+=($!)
  wait_for 10 selection_owned _NET_SYSTEM_TRAY_S0
fi

# start_session_bus: a session bus for COMMAND that started here rather than
# with COMMAND, because a service (a panel) must share it.
start_session_bus() {
  [ -n "${DBUS_SESSION_BUS_ADDRESS:-}" ] && return 0
  exec {bus_fd}>"$work/bus"
  dbus-daemon --session --nofork --print-address="$bus_fd" >"$work/dbus.log" 2>&1 &
  pids+=($!)
  exec {bus_fd}>&-
  wait_for 10 test -s "$work/bus"
  DBUS_SESSION_BUS_ADDRESS=$(head -n1 "$work/bus")
  export DBUS_SESSION_BUS_ADDRESS
}

# watcher_owned: whether a StatusNotifierItem host serves the session bus.
watcher_owned() {
  dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
    org.freedesktop.DBus.NameHasOwner string:org.kde.StatusNotifierWatcher | grep -q 'boolean true'
}

if [ "$want_sni" = 1 ]; then
  start_session_bus
  # One panel along the top with nothing but the status tray; xfconfd (started
  # by the bus) reads it from XDG_CONFIG_HOME, so the panel asks no questions.
  export VOXMERE_TEST_PANEL_CONFIG=$XDG_CONFIG_HOME/xfce4/xfconf/xfce-perchannel-xml/xfce4-panel.xml
  mkdir -p "$(dirname "$VOXMERE_TEST_PANEL_CONFIG")"
  cat >"$VOXMERE_TEST_PANEL_CONFIG" <<'XML'
<?xml version="1.0" encoding="UTF-8"?>
<channel name="xfce4-panel" version="1.0">
  <property name="configver" type="int" value="2"/>
  <property name="panels" type="array">
    <value type="int" value="1"/>
    <property name="panel-1" type="empty">
      <property name="position" type="string" value="p=6;x=0;y=0"/>
      <property name="length" type="uint" value="100"/>
      <property name="position-locked" type="bool" value="true"/>
      <property name="size" type="uint" value="26"/>
      <property name="plugin-ids" type="array">
        <value type="int" value="1"/>
      </property>
    </property>
  </property>
  <property name="plugins" type="empty">
    <property name="plugin-1" type="string" value="systray"/>
  </property>
</channel>
XML
  xfce4-panel --disable-wm-check >"$work/panel.log" 2>&1 &
  pids+=($!)
  wait_for 20 watcher_owned
fi

if [ "$want_audio" = 1 ]; then
  export VOXMERE_TEST_SINK=voxmere_null
  "$VOXMERE_TEST_DAEMONS" start pulseaudio
fi

if [ "$want_speechd" = 1 ]; then
  export SPEECHD_ADDRESS="unix_socket:$work/run/speechd.sock"
  "$VOXMERE_TEST_DAEMONS" start speechd
fi

if [ "$want_sway" = 1 ]; then
  # The config's exec writes the environment sway gives its clients: the
  # names of its Wayland socket, its IPC socket and XWayland's display.
  cat >"$work/sway.config" <<CONFIG
xwayland enable
bar {
  position top
}
exec env >"$work/sway.env.part" && mv "$work/sway.env.part" "$work/sway.env"
CONFIG
  sway_command=(sway --config "$work/sway.config")
  # sway refuses to start as root; a user namespace in which we are a plain
  # user lets it (and XWayland, which drops to its real ids to run xkbcomp)
  # start all the same, with our files and sockets reachable as before.
  if [ "$(id -u)" -eq 0 ]; then
    sway_command=(unshare --user --map-user=1000 --map-group=1000 "${sway_command[@]}")
  fi
  # swaybar's tray serves COMMAND's bus.
  start_session_bus
  unset DISPLAY WAYLAND_DISPLAY SWAYSOCK
  WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
    "${sway_command[@]}" >"$work/sway.log" 2>&1 &
  pids+=($!)
  wait_for 20 test -s "$work/sway.env"
  WAYLAND_DISPLAY=$(sed -n 's/^WAYLAND_DISPLAY=//p' "$work/sway.env")
  SWAYSOCK=$(sed -n 's/^SWAYSOCK=//p' "$work/sway.env")
  DISPLAY=$(sed -n 's/^DISPLAY=//p' "$work/sway.env")
  export WAYLAND_DISPLAY SWAYSOCK DISPLAY
  wait_for 10 swaymsg -t get_version
  # XWayland starts at its first client; this one waits for it.
  wait_for 20 xprop -root _NET_SUPPORTING_WM_CHECK
  wait_for 20 watcher_owned
fi

status=0
if [ -n "${DBUS_SESSION_BUS_ADDRESS:-}" ]; then
  "$@" || status=$?
elif [ "$want_x11" = 1 ]; then
  dbus-run-session -- "$@" || status=$?
else
  "$@" || status=$?
fi
exit "$status"
