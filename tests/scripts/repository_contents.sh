#!/bin/sh
# The repository holds the product only: the developers' working notes stay out of it,
# and are ignored so that a careless "git add -A" can't bring them back.
# Skipped (exit 77) where the sources are not a git checkout, e.g. an unpacked release.
cd "$1" || exit 1
git rev-parse --is-inside-work-tree >/dev/null 2>&1 || exit 77
status=0
if [ -n "$(git ls-files -- DEVELOPERS.md)" ]; then
  echo "DEVELOPERS.md is tracked by the repository" >&2; status=1
fi
if ! git check-ignore -q --no-index DEVELOPERS.md; then
  echo "DEVELOPERS.md is not ignored" >&2; status=1
fi
exit $status
