#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Writes velquor-wasm.js: the bytes of velquor.wasm as a script, for a page opened from disk."""
import base64
import sys

wasm, script = sys.argv[1], sys.argv[2]
with open(wasm, "rb") as f:
    encoded = base64.b64encode(f.read()).decode("ascii")
with open(script, "w", encoding="ascii") as f:
    f.write("// velquor.wasm, for the converter page opened straight from disk.\n")
    f.write('window.VelquorWasmBase64 = "' + encoded + '";\n')
