# bash completion for varnix: its options before the first operand, then the files it reads
# (batch .txt, .cup, .fpl, .tsk, .gpx, .xctsk) and folders. Needs no bash-completion helper.
_varnix() {
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]} i operand=0
    COMPREPLY=()
    [ "$prev" = -task ] && return 0  # a task number or name
    for ((i = 1; i < COMP_CWORD; i++)); do
        case ${COMP_WORDS[i]} in
            -task) ((i++)) ;;
            -*) ;;
            *) operand=1 ;;
        esac
    done
    if [ $operand = 0 ] && [[ $cur == -* ]]; then
        mapfile -t COMPREPLY < <(compgen -W '-v -debug -line -clip -gui -batch -cup -task -tasks
            -conv: -help --help -h --version -V' -- "$cur")
        return 0
    fi
    compopt -o filenames 2>/dev/null
    local f
    while IFS= read -r f; do
        if [ -d "$f" ]; then
            COMPREPLY+=("$f")
        else
            case ${f,,} in
                *.txt | *.cup | *.fpl | *.tsk | *.gpx | *.xctsk) COMPREPLY+=("$f") ;;
            esac
        fi
    done < <(compgen -f -- "$cur")
}
complete -F _varnix varnix
