// SPDX-License-Identifier: MIT
// The converter page: choose or drop a CAI or CUP file, give the variation, home point, timezone
// and site title where wanted, convert, read the report and download the SN10 file.
'use strict';

(function () {
    const $ = (id) => document.getElementById(id);
    const form = $('convert-form');
    const fileInput = $('input-file');
    const fileStatus = $('file-status');
    // The typed fields, each with the paragraph that says what is wrong with it.
    const fields = {
        variation: { input: $('variation'), problem: $('variation-error') },
        home: { input: $('home'), problem: $('home-error') },
        timezone: { input: $('timezone'), problem: $('timezone-error') },
        title: { input: $('title') },
    };
    const outcome = $('outcome');
    const details = $('details');
    const warnings = $('warnings');
    const errors = $('errors');
    const download = $('download');
    const report = $('report');
    const leftOut = $('left-out');

    // A turnpoint file holds at most 1799 points, a few hundred kilobytes; anything far larger
    // is some other file, which would only fill the browser's memory.
    const MaxFileSize = 64 * 1024 * 1024;

    let converter = startConverter();
    let chosen = null; // { name, size, bytes: a promise of the file's bytes }
    let offer = null; // { name, bytes } of the SN10 file on offer

    function startConverter() {
        const started = window.VelquorConverter.create();
        started.then((engine) => setTimeout(() => warmUp(engine), 0), () => {});
        return started;
    }

    // While the user picks a file, two runs over a made-up file as large as a CAI file gets
    // (1799 points), one at a time, let the browser compile the engine's code fully, so that
    // the user's own run goes at full speed.
    function warmUp(engine) {
        const lines = ['**  ------------ Warm-up ---'];
        for (let i = 1; i <= 1799; ++i) {
            lines.push(i + ',47:0' + (i % 10) + '.5N,009:3' + (i % 10) + '.1E,' + i + 'M,' +
                (i === 1 ? 'HAT' : 'TS') + ',POINT ' + (i % 900) + ',Comment "' + i + '"');
        }
        const bytes = new TextEncoder().encode(lines.join('\r\n'));
        let runs = 2;
        (function next() {
            try {
                const run = engine.convert('warm-up.dat', bytes, { variation: '1' });
                run.lines.forEach(window.VelquorConverter.decodeLine);
            } catch (e) {
                runs = 0; // the user's own run finds the engine stopped and says so
            }
            if (--runs > 0)
                setTimeout(next, 0);
            else
                document.documentElement.dataset.engine = 'ready';
        })();
    }

    function plural(count, word) {
        return count + ' ' + word + (count === 1 ? '' : 's');
    }

    function clearResult(message, good) {
        outcome.textContent = message;
        outcome.className = good ? 'good' : message ? 'bad' : '';
        details.hidden = true;
        download.hidden = true;
        offer = null;
    }

    function choose(file) {
        if (!file)
            return;
        clearResult('', false);
        const size = plural(file.size, 'byte');
        if (file.size > MaxFileSize) {
            chosen = { name: file.name, tooLarge: true };
            fileStatus.textContent = file.name + ', ' + size +
                ': far too large for a turnpoint file.';
            return;
        }
        chosen = { name: file.name, bytes: file.arrayBuffer().then((b) => new Uint8Array(b)) };
        fileStatus.textContent = 'Reading ' + file.name + ' …';
        const current = chosen;
        chosen.bytes.then((bytes) => {
            if (chosen === current)
                fileStatus.textContent = file.name + ', ' + size + ', ready to convert.';
        }, () => {
            if (chosen === current)
                fileStatus.textContent = file.name + ' could not be read.';
        });
    }

    function setProblem(field, message) {
        field.problem.textContent = message;
        field.problem.hidden = !message;
        if (message)
            field.input.setAttribute('aria-invalid', 'true');
        else
            field.input.removeAttribute('aria-invalid');
    }

    // What the user is told for a field the engine refused: the command line's own rules.
    const Refusals = {
        BadVariation: ['variation', 'Give degrees west from -180 to 180 as digits with an ' +
            'optional sign and decimal point, such as 2 or -3.5, or leave the field empty.'],
        BadTimezone: ['timezone', 'Give hours from -12 to 14 as digits with an optional sign ' +
            'and decimal point, such as 1 or -3.5, or leave the field empty.'],
        HomeForCai: ['home', 'The home point is for CUP files: a CAI file marks its home point ' +
            'with the type letter H. Leave the field empty.'],
    };

    function outcomeMessage(run) {
        const name = run.outputName;
        switch (run.result) {
        case 'Written':
            return name + ' written' +
                (run.warnings ? ', ' + plural(run.warnings, 'warning') : '') +
                (run.errors ? ', ' + plural(run.errors, 'error') : '') + '.';
        case 'NotWritten':
            return name + ' not written: ' + plural(run.errors, 'error') + ', see the report.';
        case 'Sn10FileNotOpened':
            return 'Not converted: the SN10 file could not be created.';
        default:
            return 'Not converted: the turnpoint file could not be read.';
        }
    }

    function show(run) {
        clearResult(outcomeMessage(run), run.result === 'Written');
        warnings.textContent = plural(run.warnings, 'warning');
        warnings.className = 'count' + (run.warnings ? ' warn' : '');
        errors.textContent = plural(run.errors, 'error');
        errors.className = 'count' + (run.errors ? ' bad' : '');
        const decode = window.VelquorConverter.decodeLine;
        report.textContent = run.lines.map((line) => decode(line) + '\n').join('');
        leftOut.textContent = 'The report goes on for ' + plural(run.linesLeftOut, 'more line') +
            ', too many to show here; velquor-convert prints them all.';
        leftOut.hidden = run.linesLeftOut === 0;
        if (run.output) {
            offer = { name: run.outputName, bytes: run.output };
            download.textContent = 'Download ' + run.outputName;
            download.hidden = false;
        }
        details.hidden = false;
    }

    async function convert() {
        const file = chosen;
        if (!file) {
            clearResult('Choose a turnpoint file first.', false);
            fileInput.focus();
            return;
        }
        if (file.tooLarge) {
            clearResult('Not converted: ' + file.name + ' is far too large for a turnpoint file.',
                false);
            return;
        }
        const typed = {};
        for (const [key, field] of Object.entries(fields)) {
            const text = field.input.value.trim();
            typed[key] = text === '' ? null : text;
        }
        let engine, bytes;
        try {
            engine = await converter;
        } catch (e) {
            clearResult('The converter could not be started in this browser: ' + e.message, false);
            converter = startConverter();
            return;
        }
        try {
            bytes = await file.bytes;
        } catch (e) {
            clearResult('Not converted: ' + file.name + ' could not be read.', false);
            return;
        }
        // From here on the page works on bytes already read; bench/web_page.mjs times this span.
        performance.mark('velquor-convert-start');
        let run;
        try {
            run = engine.convert(file.name, bytes, typed);
        } catch (e) {
            // The engine stopped (out of memory, say) and cannot be used again: start a new one.
            clearResult('Not converted: the conversion stopped in the browser (' + e.message +
                '). velquor-convert can convert this file.', false);
            converter = startConverter();
            return;
        }
        for (const field of Object.values(fields)) {
            if (field.problem)
                setProblem(field, '');
        }
        const refusal = Refusals[run.result];
        if (refusal) {
            clearResult('', false);
            setProblem(fields[refusal[0]], refusal[1]);
            fields[refusal[0]].input.focus();
            return;
        }
        if (run.result === 'NoOutputName') {
            clearResult('Not converted: the SN10 file is named after the turnpoint file, whose ' +
                'name must hold ".DAT" or ".CUP" (any letter case). Rename ' + file.name +
                ' to end in .dat or .cup.', false);
            return;
        }
        show(run);
        performance.measure('velquor-convert', 'velquor-convert-start');
        performance.clearMarks('velquor-convert-start');
    }

    form.addEventListener('submit', (event) => {
        event.preventDefault();
        convert();
    });
    fileInput.addEventListener('change', () => choose(fileInput.files[0]));
    download.addEventListener('click', () => {
        if (!offer)
            return;
        const blob = new Blob([offer.bytes], { type: 'application/octet-stream' });
        const link = document.createElement('a');
        link.href = URL.createObjectURL(blob);
        link.download = offer.name;
        link.click();
        // The download has taken the bytes once it started; a minute is ample.
        setTimeout(() => URL.revokeObjectURL(link.href), 60000);
    });

    // A file dropped anywhere on the page is chosen, instead of being opened by the browser.
    document.addEventListener('dragover', (event) => {
        event.preventDefault();
        document.body.classList.add('dropping');
    });
    document.addEventListener('dragleave', (event) => {
        if (!event.relatedTarget)
            document.body.classList.remove('dropping');
    });
    document.addEventListener('drop', (event) => {
        event.preventDefault();
        document.body.classList.remove('dropping');
        const file = event.dataTransfer && event.dataTransfer.files[0];
        if (file) {
            try {
                fileInput.files = event.dataTransfer.files; // the input names the file too
            } catch (e) {
                fileInput.value = '';
            }
            choose(file);
        }
    });
})();
