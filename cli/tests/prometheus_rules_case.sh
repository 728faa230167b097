#!/usr/bin/env bash
# The alert rules of deploy/prometheus: promtool checks them and runs their
# unit tests, and every metric they use must be one that tb58mon exports
# (a family registered by name in cli/).  The notifier's metrics are checked
# once the notifier is in the tree (cli/notify/).
#
#   prometheus_rules_case.sh SOURCE_DIR
set -uo pipefail
source_dir=$1
promtool=$(command -v promtool || true)
if [[ -z "$promtool" ]]; then
    echo "promtool is not installed (Debian package prometheus): skipped"
    exit 77
fi
cd "$source_dir/deploy/prometheus" || exit 1
status=0
"$promtool" check rules tb58mon-rules.yml || status=1
"$promtool" test rules tb58mon-rules.test.yml || status=1

exported=$(grep -rhoE 'Name\("tb58_[a-z0-9_]+"\)' "$source_dir/cli" | sed -E 's/Name\("(.*)"\)/\1/' | sort -u)
for name in $(grep -oE '\btb58_[a-z0-9_]+' tb58mon-rules.yml | sort -u); do
    base=$(sed -E 's/_(bucket|count|sum)$//' <<< "$name")
    if grep -qxF -e "$name" -e "$base" <<< "$exported"; then
        continue
    fi
    if [[ ! -d "$source_dir/cli/notify" && ( $name == tb58_outbox_* || $name == tb58_notifications_* ) ]]; then
        echo "$name: not checked, the notifier is not in this tree"
        continue
    fi
    echo "the rules use $name, which tb58mon does not export"
    status=1
done
exit $status
