# The set-up's writer of "Install_Dir" into the settings file, and the
# maker of an installation of one's own; sourced by setup.sh and by its test.
# Defines functions only.

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
  [ -d "$dir" ] || return 1
  found=$(find -L "$dir" -mindepth 4 -maxdepth 4 -iname cards.ind -print 2>/dev/null || true)
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
    # Lines the game cannot read right after it are what an older set-up
    # split off the value (a "\n" in the path).
    while [ $((found + 1)) -lt ${#lines[@]} ]; do
      t=$(qv_trim "${lines[found + 1]}")
      [[ -z $t || $t == *=* || $t == \[* || $t == [\#\;]* ]] && break
      lines=("${lines[@]:0:found+1}" "${lines[@]:found+2}")
    done
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

# An installation of its own in a directory: links to everything in the
# built installation but its SAVE folder, and a SAVE folder of its own.
qv_link_installation() {
  local from=$1 to=$2 entry name
  mkdir -p "$to/SAVE"
  for entry in "$from"/*; do
    name=$(basename "$entry")
    [ "$name" = SAVE ] || ln -sfn "$entry" "$to/$name"
  done
}
