# bash completion for velmar-restore                        -*- shell-script -*-

_velmar_restore() {
  local cur prev words cword
  _init_completion || return

  local commands="card folder build sample undo backups inspect scan"
  local command="" i
  for ((i = 1; i < cword; i++)); do
    case ${words[i]} in
      -l) ((i++)) ;;
      -*) ;;
      *)
        command=${words[i]}
        break
        ;;
    esac
  done

  case $prev in
    -l)
      COMPREPLY=($(compgen -W "1 2 3 4 5 6 7 8" -- "$cur"))
      return
      ;;
    --lang)
      COMPREPLY=($(compgen -W "en ja" -- "$cur"))
      return
      ;;
    --pair | --backup-dir | --tree)
      _filedir -d
      return
      ;;
    --rewrite)
      _filedir
      return
      ;;
  esac

  local options
  case $command in
    "") options="--version -l" ;;
    card) options="--yes --check --json --lang --pair --backup-dir --no-backup --swap" ;;
    folder | build) options="--yes --check --json --lang --pair --backup-dir --no-backup" ;;
    sample) options="" ;;
    undo) options="--tree --backup-dir --yes --check" ;;
    backups) options="--tree --backup-dir" ;;
    inspect) options="-l --rewrite" ;;
    scan) options="--json" ;;
  esac

  if [[ $cur == -* ]]; then
    COMPREPLY=($(compgen -W "-h --help $options" -- "$cur"))
    return
  fi
  case $command in
    "") COMPREPLY=($(compgen -W "$commands" -- "$cur")) ;;
    card | folder | build | sample) _filedir -d ;;
    undo)
      _filedir -d
      COMPREPLY+=($(compgen -W "latest" -- "$cur"))
      ;;
    inspect) _filedir ;;
    scan) _filedir '@(MTS|mts|m2ts|M2TS)' ;;
  esac
} &&
  complete -F _velmar_restore velmar-restore

# ex: filetype=sh
