#!/usr/bin/env bash
# The help pages and the download's README.txt: every page reachable (index.html, toc.hhc,
# horavo.hhp), one spelling for each term, and nothing the program no longer does.
# Usage: check_help.sh SOURCE_DIR (the folder holding help/ and dist/)
set -u
root=${1:?usage: check_help.sh SOURCE_DIR}
help=$root/help
texts=("$help"/*.html "$help"/toc.hhc "$root"/dist/README.txt)
failed=0
fail() { echo "check_help: $*" >&2; failed=1; }

# Every page is linked from index.html and the contents, and listed in the project file.
for page in "$help"/*.html; do
    name=$(basename "$page")
    [ "$name" = index.html ] || grep -q "href=\"$name[\"#]" "$help/index.html" || fail "$name is not linked from index.html"
    grep -q "name=\"Local\" value=\"$name\"" "$help/toc.hhc" || fail "$name is not in toc.hhc"
    grep -qx "$name" "$help/horavo.hhp" || fail "$name is not listed in horavo.hhp"
done

# Byte-wise matching, whatever the locale: the texts are UTF-8.
export LC_ALL=C
# One spelling per term: the window's (サーバ, not サーバー; シフト JIS; インターバル). 間隔 is
# allowed only inside Windows' own label 繰り返し間隔 (the Task Scheduler's trigger).
for term in サーバー コンピューター ユーザー フォルダー レジストリー Shift-JIS 間隔; do
    for file in "${texts[@]}"; do
        found=$(sed 's/繰り返し間隔//g' "$file" | grep -n -i -F -- "$term")
        [ -z "$found" ] || fail "$(basename "$file") spells \"$term\": ${found%%$'\n'*}"
    done
done

# Sentences of the old pages that no longer hold.
for stale in "通信にかかった時間は補正しません" "ログが増えない" "後で終了したほうの設定が残ります" "一度だけ送" "UDP で 1 回送り" \
    "は小文字で書きます"; do
    for file in "${texts[@]}"; do
        ! grep -q -F -- "$stale" "$file" || fail "$(basename "$file") still says \"$stale\""
    done
done

[ "$failed" = 0 ] && echo "check_help: the help pages and README.txt pass"
exit "$failed"
