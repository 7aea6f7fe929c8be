// The converter page: choose or drop a CAI file, give the variation if known, convert, read the
// report and download the SN10 file.
'use strict';

(function () {
    const $ = (id) => document.getElementById(id);
    const form = $('convert-form');
    const fileInput = $('cai-file');
    const fileStatus = $('file-status');
    const variation = $('variation');
    const variationError = $('variation-error');
    const result = $('result');
    const outcomeText = $('outcome');
    const warnings = $('warnings');
    const errors = $('errors');
    const download = $('download');
    const report = $('report');

    const converter = window.VelquorConverter.create();
    // While the user picks a file, a few runs over a made-up file let the browser compile the
    // engine's code fully, so that the user's own run goes at full speed.
    converter.then((engine) => setTimeout(() => {
        const lines = ['**  ------------ Warm-up ---'];
        for (let i = 1; i <= 300; ++i)
            lines.push(i + ',47:0' + (i % 10) + '.5N,009:3' + (i % 10) + '.1E,' + i + 'M,' +
                (i === 1 ? 'HAT' : 'TS') + ',POINT ' + (i % 150) + ',Comment "' + i + '"');
        const bytes = new TextEncoder().encode(lines.join('\r\n'));
        for (let run = 0; run < 3; ++run)
            engine.convert('warm-up.dat', bytes, '1');
        document.documentElement.dataset.engine = 'ready';
    }, 0), () => {});
    let chosen = null; // { name, bytes: a promise of the file's bytes }
    let offer = null; // { url, name } of the SN10 file on offer

    function plural(count, word) {
        return count + ' ' + word + (count === 1 ? '' : 's');
    }

    function clearResult() {
        result.hidden = true;
        download.hidden = true;
        if (offer)
            URL.revokeObjectURL(offer.url);
        offer = null;
    }

    function showProblem(message) {
        clearResult();
        result.hidden = false;
        outcomeText.textContent = message;
        outcomeText.className = 'bad';
        warnings.textContent = errors.textContent = '';
        report.textContent = '';
    }

    function choose(file) {
        if (!file)
            return;
        clearResult();
        chosen = { name: file.name, bytes: file.arrayBuffer().then((b) => new Uint8Array(b)) };
        fileStatus.textContent = 'Reading ' + file.name + ' …';
        chosen.bytes.then(
            () => { fileStatus.textContent = file.name + ', ' + plural(file.size, 'byte') + ', ready to convert.'; },
            () => { fileStatus.textContent = file.name + ' could not be read.'; });
    }

    function setVariationProblem(message) {
        variationError.textContent = message;
        variationError.hidden = !message;
        if (message)
            variation.setAttribute('aria-invalid', 'true');
        else
            variation.removeAttribute('aria-invalid');
    }

    function outcomeMessage(run) {
        const name = run.outputName;
        switch (run.result) {
        case 'Written':
            return name + ' written' + (run.warnings ? ', ' + plural(run.warnings, 'warning') : '') +
                (run.errors ? ', ' + plural(run.errors, 'error') : '') + '.';
        case 'NotWritten':
            return name + ' not written: ' + plural(run.errors, 'error') + ', see the report.';
        case 'Sn10FileNotOpened':
            return 'Not converted: the SN10 file could not be created.';
        default:
            return 'Not converted: the CAI file could not be read.';
        }
    }

    function show(run) {
        clearResult();
        result.hidden = false;
        outcomeText.textContent = outcomeMessage(run);
        outcomeText.className = run.result === 'Written' ? 'good' : 'bad';
        warnings.textContent = plural(run.warnings, 'warning');
        warnings.className = 'count' + (run.warnings ? ' warn' : '');
        errors.textContent = plural(run.errors, 'error');
        errors.className = 'count' + (run.errors ? ' bad' : '');
        report.textContent = run.lines.map((line) => window.VelquorConverter.decodeLine(line) + '\n').join('');
        if (run.output) {
            const blob = new Blob([run.output], { type: 'application/octet-stream' });
            offer = { url: URL.createObjectURL(blob), name: run.outputName };
            download.textContent = 'Download ' + run.outputName;
            download.hidden = false;
        }
    }

    async function convert() {
        if (!chosen) {
            showProblem('Choose a CAI file first.');
            fileInput.focus();
            return;
        }
        const typed = variation.value.trim();
        let engine, bytes;
        try {
            engine = await converter;
        } catch (e) {
            showProblem('The converter could not be started in this browser: ' + e.message);
            return;
        }
        try {
            bytes = await chosen.bytes;
        } catch (e) {
            showProblem(chosen.name + ' could not be read.');
            return;
        }
        // From here on the page works on bytes already read; bench/web_page.mjs times this span.
        performance.mark('velquor-convert-start');
        const run = engine.convert(chosen.name, bytes, typed === '' ? null : typed);
        if (run.result === 'BadVariation') {
            clearResult();
            setVariationProblem('Enter the variation as a number of degrees from -180 to 180, ' +
                'such as 2 or -1.5, or leave it empty.');
            variation.focus();
            return;
        }
        setVariationProblem('');
        if (run.result === 'NoOutputName') {
            showProblem('The SN10 file is named after the CAI file, whose name must hold ".DAT" ' +
                '(any letter case): rename ' + chosen.name + ' to end in .dat.');
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
        const link = document.createElement('a');
        link.href = offer.url;
        link.download = offer.name;
        link.click();
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
            fileInput.value = '';
            choose(file);
        }
    });
})();
