#!/usr/bin/env bash
# Compiler launcher of the clang fuzz build: drops the options that only GCC
# knows (-fno-gnu-unique; clang makes no GNU unique symbols anyway) and runs
# the compiler with the rest.
args=()
for a in "$@"; do
  [ "$a" = "-fno-gnu-unique" ] || args+=("$a")
done
exec "${args[@]}"
