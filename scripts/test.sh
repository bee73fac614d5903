#!/usr/bin/env bash
# Builds Markvane with AddressSanitizer and UndefinedBehaviorSanitizer and runs
# every test: unit, drawing, end-to-end (each starts its own X server), the
# benchmark smoke runs and the format check.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake --preset asan
cmake --build --preset asan
ctest --preset asan --parallel "$(nproc)"
