#!/usr/bin/env bash
# Succeeds where this machine can run 32-bit Wine natively. Some kernels are
# built or booted without 32-bit emulation; there the loader cannot start.
[ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1
