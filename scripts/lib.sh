# Sourced by the scripts: the small pieces they share.
chronel_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# A path of this machine as the Windows programs under Wine name it: drive Z: is the Unix root.
windows_path() { printf 'Z:%s' "${1//\//\\}"; }

# Runs COMMAND with its output added to LOG (`: >LOG` starts a log afresh); when it fails, shows the end of
# the log and returns its status.
logged() { # log, command...
    local log=$1 rc=0
    shift
    "$@" >>"$log" 2>&1 || rc=$?
    [ $rc -eq 0 ] || tail -40 "$log"
    return $rc
}

# 32-bit Wine runs only through scripts/i386 (a plain call where the kernel runs 32-bit programs, qemu-i386
# where it refuses them): in a win32 prefix, and in a win64 one whenever the i686 build runs there under
# WoW64 (wow64). Sets the array `i386` to what goes before such a command: scripts/i386, or nothing for a
# win64 prefix alone or in a process that already runs through it.
through_i386() { # win32|win64|wow64
    i386=()
    case $1 in
    win32 | wow64) [ -n "${CHRONEL_I386_INSIDE:-}" ] || i386=("$chronel_root/scripts/i386") ;;
    esac
}
