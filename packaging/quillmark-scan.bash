# bash completion for quillmark-scan                       -*- shell-script -*-
# Completes the options, the values of --encoding, --format, --lexer and
# --color, and folders and files for ROOT. Needs nothing but bash itself.

_quillmark_scan()
{
    local cur prev i
    COMPREPLY=()
    cur=${COMP_WORDS[COMP_CWORD]}
    prev=""
    ((COMP_CWORD > 0)) && prev=${COMP_WORDS[COMP_CWORD - 1]}

    # "--name=VALUE": bash splits it into "--name", "=" and VALUE when "="
    # is a word break; otherwise it arrives as one word.
    local option="" value=$cur prefix=""
    if [[ $prev == "=" && COMP_CWORD -gt 1 ]]; then
        option=${COMP_WORDS[COMP_CWORD - 2]}
    elif [[ $cur == --*=* ]]; then
        option=${cur%%=*}
        value=${cur#*=}
        prefix=$option=
    elif [[ $cur == "=" && $prev == --* ]]; then
        option=$prev
        value=""
    else
        option=$prev
    fi

    # After "--" every word is a ROOT.
    local ended=0
    for ((i = 1; i < COMP_CWORD; i++)); do
        [[ ${COMP_WORDS[i]} == "--" ]] && ended=1 && break
    done

    if ((!ended)); then
        local values=""
        case $option in
            --encoding | -e) values="SJIS EUC UTF8 AUTO" ;;
            --format) values="grep raw log json csv sarif po" ;;
            --lexer) values="line c" ;;
            --color) values="auto always never" ;;
            --ext | --exclude | --threads | -j) return 0 ;;
        esac
        if [[ -n $values ]]; then
            local word
            for word in $(compgen -W "$values" -- "$value"); do
                COMPREPLY+=("$prefix$word")
            done
            return 0
        fi

        if [[ $cur == -* ]]; then
            local options="--encoding -e --ext --format --lexer --column --log --raw
                -q --quiet --stats --exclude --color -j --threads -V --version -h --help --"
            COMPREPLY=($(compgen -W "$options" -- "$cur"))
            return 0
        fi
    fi

    # ROOT: a folder or a file.
    compopt -o filenames 2>/dev/null
    local IFS=$'\n'
    COMPREPLY=($(compgen -f -- "$cur"))
    return 0
}

complete -F _quillmark_scan quillmark-scan
