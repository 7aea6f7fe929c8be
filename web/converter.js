// SPDX-License-Identifier: MIT
// The WebAssembly engine behind the converter page, also loaded by Node.js in the tests. A
// turnpoint file (CAI or CUP) is converted in a folder of its own in the engine's in-memory file
// system, under its own name, exactly as velquor-convert converts it when started in the file's
// folder with the file name alone; nothing leaves the computer.
'use strict';

(function (root, makeConverter) {
    if (typeof module === 'object' && module.exports)
        module.exports = makeConverter(require('./velquor.js'));
    else
        root.VelquorConverter = makeConverter(root.VelquorEngine);
})(this, function (VelquorEngine) {
    // The results of VelquorConvert, in the order of the engine's numbers.
    const Results = ['Written', 'NotWritten', 'CaiFileNotRead', 'Sn10FileNotOpened',
        'BadVariation', 'NoOutputName', 'BadTimezone', 'HomeForCai'];
    const Folder = '/cai';

    function loadScript(src) {
        return new Promise((resolve, reject) => {
            const script = document.createElement('script');
            script.src = src;
            script.onload = resolve;
            script.onerror = () => reject(new Error('could not load ' + src));
            document.head.appendChild(script);
        });
    }

    // The engine's bytes come from velquor.wasm beside this script. A page opened straight from
    // disk may not read files, only run scripts, so there they come from velquor-wasm.js, a
    // script that carries the same bytes.
    async function engineBytes() {
        if (typeof window === 'undefined') {
            const path = require('path');
            return require('fs').readFileSync(path.join(__dirname, 'velquor.wasm'));
        }
        if (window.location.protocol === 'file:') {
            await loadScript('velquor-wasm.js');
            const bytes = Uint8Array.from(atob(window.VelquorWasmBase64), (c) => c.charCodeAt(0));
            delete window.VelquorWasmBase64;
            return bytes;
        }
        const response = await fetch('velquor.wasm');
        if (!response.ok)
            throw new Error('could not load velquor.wasm: ' + response.status);
        return new Uint8Array(await response.arrayBuffer());
    }

    // Lines of the report, each a Uint8Array without its line feed.
    function splitLines(bytes) {
        const lines = [];
        let start = 0;
        for (let i = 0; i < bytes.length; ++i) {
            if (bytes[i] === 10) {
                lines.push(bytes.subarray(start, i));
                start = i + 1;
            }
        }
        if (start < bytes.length)
            lines.push(bytes.subarray(start));
        return lines;
    }

    // A report line for display: UTF-8 where the bytes are valid UTF-8, else Latin-1, as the
    // desktop program shows it.
    const utf8 = new TextDecoder('utf-8', { fatal: true, ignoreBOM: true });
    function decodeLine(bytes) {
        try {
            return utf8.decode(bytes);
        } catch (e) {
            let text = '';
            for (let i = 0; i < bytes.length; i += 8192)
                text += String.fromCharCode.apply(null, bytes.subarray(i, i + 8192));
            return text;
        }
    }

    function removeTree(FS, path) {
        for (const name of FS.readdir(path)) {
            if (name === '.' || name === '..')
                continue;
            const child = path + '/' + name;
            if (FS.isDir(FS.lstat(child).mode))
                removeTree(FS, child);
            else
                FS.unlink(child);
        }
        FS.rmdir(path);
    }

    async function create() {
        const bytes = await engineBytes();
        const quiet = () => {};
        const engine = await VelquorEngine({ wasmBinary: bytes, print: quiet, printErr: quiet });
        const FS = engine.FS;

        // Converts the turnpoint file named name, with the bytes given (a Uint8Array). fields
        // holds what the user typed: variation, timezone, home and title, each a text, or null
        // or absent for none. Returns what the run gave: its result, the report (bytes and
        // lines, and the number of lines left out of a report too large to keep), the totals,
        // the SN10 file's name and, when the run wrote it, its bytes.
        function convert(name, bytes, fields = {}) {
            const outcome = { result: 'CaiFileNotRead', report: new Uint8Array(0), lines: [],
                linesLeftOut: 0, errors: 0, warnings: 0, outputName: '', output: null };
            // A file name is one path component; the browser never gives anything else.
            if (!name || name === '.' || name === '..' || /[/\0]/.test(name))
                return outcome;
            const field = (key) => fields[key] ?? null;
            FS.mkdir(Folder);
            try {
                FS.writeFile(Folder + '/' + name, bytes);
                FS.chdir(Folder);
                const code = engine.ccall('VelquorConvert', 'number', Array(5).fill('string'),
                    [name, field('variation'), field('timezone'), field('home'), field('title')]);
                outcome.result = Results[code];
                outcome.errors = engine._VelquorErrorCount();
                outcome.warnings = engine._VelquorWarningCount();
                outcome.outputName = engine.UTF8ToString(engine._VelquorOutputName());
                const at = engine._VelquorReport();
                outcome.report = engine.HEAPU8.slice(at, at + engine._VelquorReportLength());
                outcome.lines = splitLines(outcome.report);
                outcome.linesLeftOut = engine._VelquorReportLinesLeftOut();
                if (outcome.result === 'Written')
                    outcome.output = FS.readFile(outcome.outputName);
            } finally {
                FS.chdir('/');
                removeTree(FS, Folder);
            }
            return outcome;
        }
        return { convert };
    }

    return { create, decodeLine, splitLines };
});
