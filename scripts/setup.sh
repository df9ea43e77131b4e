#!/usr/bin/env bash
# Shared set-up for play.sh and test.sh: packages, build, asset set, registry.
# Sourced; leaves QV_BUILD_DIR and QUORVANE_REGISTRY set.
set -euo pipefail

QV_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
QV_BUILD_DIR=${QV_BUILD_DIR:-$QV_ROOT/build}

qv_packages=(cmake ninja-build g++ pkg-config libsdl2-dev libmikmod-dev libstb-dev
             libgtest-dev libcairo2-dev)
qv_missing=()
for p in "${qv_packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || qv_missing+=("$p")
done
if [ ${#qv_missing[@]} -gt 0 ]; then
  echo "Installing: ${qv_missing[*]}"
  qv_sudo=""
  [ "$(id -u)" -ne 0 ] && qv_sudo=sudo
  $qv_sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $qv_sudo apt-get install -y -qq "${qv_missing[@]}"
fi

qv_cmake_args=(-G Ninja -S "$QV_ROOT" -B "$QV_BUILD_DIR")
[ "${QV_SANITIZE:-0}" = 1 ] && qv_cmake_args+=(-DQV_SANITIZE=ON)
cmake "${qv_cmake_args[@]}" >/dev/null
cmake --build "$QV_BUILD_DIR"

# The registry stand-in: point Install_Dir at the built installation
# directory unless it already names one that holds the data files.
QUORVANE_REGISTRY=${QUORVANE_REGISTRY:-${XDG_CONFIG_HOME:-$HOME/.config}/quorvane/registry.txt}
export QUORVANE_REGISTRY
mkdir -p "$(dirname "$QUORVANE_REGISTRY")"

# The settings file's form of a host path: '/' becomes '\', '%' and control
# characters become %XX, as the game writes them. Every other byte is kept:
# nothing on the way interprets backslash escapes.
qv_registry_text() {
  local LC_ALL=C text=$1 out='' c i
  for ((i = 0; i < ${#text}; i++)); do
    c=${text:i:1}
    case $c in
      /) out+='\' ;;
      %) out+='%25' ;;
      [[:cntrl:]]) printf -v c '%%%02X' "'$c"; out+=$c ;;
      *) out+=$c ;;
    esac
  done
  printf '%s' "$out"
}

qv_trim() {
  local s=$1
  s=${s#"${s%%[![:space:]]*}"}
  printf '%s' "${s%"${s##*[![:space:]]}"}"
}

# Whether a stored "Install_Dir" (the text after '=') is a directory that
# holds the card index, compared without regard to case as the game does.
# Older set-ups stored paths such as \tmp\build as %09mp%08uild.
qv_install_dir_usable() {
  local value=$1 dir found
  [[ $value == sz:* ]] || return 1
  dir=${value#sz:}
  dir=${dir//\\//}
  printf -v dir '%b' "${dir//%/\\x}"
  [[ $dir != *[[:cntrl:]]* && -d $dir ]] || return 1
  found=$(find "$dir" -mindepth 4 -maxdepth 4 -iname cards.ind -print 2>/dev/null || true)
  [[ ${found,,} == *"/data/cards/set 1/cards.ind"* ]]
}

# Sets "Install_Dir" in the [SOFTWARE\Quorvane] key of the settings file
# unless the key holds a usable one; the file is replaced whole.
qv_set_install_dir() {
  local file=$1 value=$2 lines=() i t key name in_key=0 header=-1 found=-1 old=''
  [ -f "$file" ] && mapfile -t lines <"$file"
  for i in "${!lines[@]}"; do
    t=$(qv_trim "${lines[i]}")
    if [[ $t == \[*\] ]]; then
      key=$(printf '%s' "${t:1:${#t}-2}" | tr '/' '\\' | tr -s '\\')
      key=${key#\\}
      key=${key%\\}
      in_key=0
      if [[ ${key,,} == 'software\quorvane' ]]; then
        in_key=1
        [ "$header" -lt 0 ] && header=$i
      fi
    elif [ "$in_key" = 1 ] && [[ $t == *=* ]]; then
      name=$(qv_trim "${t%%=*}")
      if [[ ${name,,} == install_dir ]]; then
        found=$i
        old=$(qv_trim "${t#*=}")
      fi
    fi
  done
  local entry="Install_Dir = sz:$value"
  if [ "$found" -ge 0 ]; then
    qv_install_dir_usable "$old" && return 0
    lines[found]=$entry
    echo "Registry $file: Install_Dir ${old#sz:} holds no data files; set to $value"
  elif [ "$header" -ge 0 ]; then
    lines=("${lines[@]:0:header+1}" "$entry" "${lines[@]:header+1}")
    echo "Registry $file: Install_Dir set to $value"
  else
    lines+=('[SOFTWARE\Quorvane]' "$entry")
    echo "Registry $file: Install_Dir set to $value"
  fi
  local tmp
  tmp=$(mktemp "$file.XXXXXX")
  printf '%s\n' "${lines[@]}" >"$tmp"
  mv -f "$tmp" "$file"
}

qv_install=$(cd "$QV_BUILD_DIR" && pwd)/install
if [ "${#qv_install}" -gt 99 ]; then
  echo "Warning: $qv_install is longer than 99 characters; the game cannot use it" \
       "(\"Can't find Quorvane Directory\"). Use a shorter QV_BUILD_DIR." >&2
fi
qv_set_install_dir "$QUORVANE_REGISTRY" "$(qv_registry_text "$qv_install")"
