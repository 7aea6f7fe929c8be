// SPDX-License-Identifier: MIT
// The converter page in headless Chromium, opened straight from disk and used by keyboard:
// the examples' reports and SN10 files (CAI, and CUP with every option) equal velquor-convert's,
// a file with errors offers no download, fields are refused with the command line's rules, and
// bytes no editor writes give a report without a word on the console.
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { isUtf8 } from 'node:buffer';
import fs from 'node:fs';
import http from 'node:http';
import path from 'node:path';
import { after, before, test } from 'node:test';
import { chooseFile, launch, open, pageUrl } from './browser.mjs';

const convertProgram = process.env.VELQUOR_CONVERT;
const webDir = process.env.VELQUOR_WEB;
const scratch = path.join(process.env.VELQUOR_TEST_TMP || '/tmp/velquor-tests', 'web-page');
const example = new URL('../../examples/alpine-club.dat', import.meta.url).pathname;
const cupExample = new URL('../../examples/alpine-club.cup', import.meta.url).pathname;

let browser;
before(async () => {
    fs.rmSync(scratch, { recursive: true, force: true });
    fs.mkdirSync(scratch, { recursive: true });
    browser = await launch();
});
after(() => browser && browser.close());

// velquor-convert in a folder of its own, with the options and the file's bare name: its report,
// its SN10 file and what it said on standard error.
function convertWithCli(name, bytes, options) {
    const dir = fs.mkdtempSync(path.join(scratch, 'cli-'));
    fs.writeFileSync(path.join(dir, name), bytes);
    const run = spawnSync(convertProgram, [...options, name], { cwd: dir });
    const ndb = path.join(dir, name.replace(/\.(dat|cup)$/i, '.NDB'));
    return { report: run.stdout.toString('utf8'), stderr: run.stderr.toString('utf8'),
        ndb: fs.existsSync(ndb) ? fs.readFileSync(ndb) : null };
}

// Presses Convert by keyboard and reads what the page shows once the run's outcome is there.
async function convert(page) {
    await page.$eval('#outcome', (o) => { o.textContent = ''; });
    await page.focus('#convert');
    await page.keyboard.press('Enter');
    await page.waitForFunction(() => document.getElementById('outcome').textContent !== '');
    return page.evaluate(() => ({
        outcome: document.getElementById('outcome').textContent,
        warnings: document.getElementById('warnings').textContent,
        errors: document.getElementById('errors').textContent,
        report: document.getElementById('report').textContent,
        download: document.getElementById('download').hidden ? null
            : document.getElementById('download').textContent,
        detailsShown: !document.getElementById('details').hidden,
    }));
}

// Chromium names a download only once it is complete.
async function downloaded(file) {
    for (let i = 0; i < 400 && !fs.existsSync(file); ++i)
        await new Promise((resolve) => setTimeout(resolve, 50));
    return fs.readFileSync(file);
}

test('the example converts by keyboard as velquor-convert converts it, and downloads', async () => {
    const { page, console: messages, requests } = await open(browser, pageUrl(webDir));
    const downloads = fs.mkdtempSync(path.join(scratch, 'downloads-'));
    const session = await page.createCDPSession();
    await session.send('Browser.setDownloadBehavior',
        { behavior: 'allow', downloadPath: downloads });

    // Every control has a name that a screen reader can say.
    const unnamed = await page.evaluate(() => [...document.querySelectorAll('input, button')]
        .filter((c) => !(c.labels && c.labels.length) && !c.textContent.trim()).map((c) => c.id));
    assert.deepEqual(unnamed, []);

    await chooseFile(page, example);
    await page.focus('#input-file');
    await page.keyboard.press('Tab');
    assert.equal(await page.evaluate(() => document.activeElement.id), 'variation');
    await page.keyboard.type('2');
    let shown = await convert(page);
    let cli = convertWithCli('alpine-club.dat', fs.readFileSync(example), ['-v', '2']);
    assert.equal(shown.report, cli.report);
    assert.equal(shown.outcome, 'alpine-club.NDB written, 1 warning.');
    assert.deepEqual([shown.warnings, shown.errors], ['1 warning', '0 errors']);
    assert.equal(shown.download, 'Download alpine-club.NDB');

    await page.keyboard.press('Tab');
    assert.equal(await page.evaluate(() => document.activeElement.id), 'download');
    await page.keyboard.press('Enter');
    assert.deepEqual(await downloaded(path.join(downloads, 'alpine-club.NDB')), cli.ndb);

    // The CUP example, with a home point, timezone and title typed into the fields after the
    // variation, in that order.
    await chooseFile(page, cupExample);
    await page.focus('#variation');
    for (const [id, text] of [['home', 'north ridge'], ['timezone', '1'], ['title', 'Alps CUP']]) {
        await page.keyboard.press('Tab');
        assert.equal(await page.evaluate(() => document.activeElement.id), id);
        await page.keyboard.type(text);
    }
    shown = await convert(page);
    cli = convertWithCli('alpine-club.cup', fs.readFileSync(cupExample),
        ['-v', '2', '--home', 'north ridge', '--timezone', '1', '--title', 'Alps CUP']);
    assert.equal(shown.report, cli.report);
    assert.match(cli.ndb.toString('latin1'), /^H.*Alps CUP.*CUP conversion/m);
    assert.equal(shown.outcome, 'alpine-club.NDB written.');
    fs.rmSync(path.join(downloads, 'alpine-club.NDB'));
    await page.keyboard.press('Tab');
    await page.keyboard.press('Enter');
    assert.deepEqual(await downloaded(path.join(downloads, 'alpine-club.NDB')), cli.ndb);

    assert.deepEqual(messages, []);
    assert.deepEqual(requests.filter((url) => !/^(file|blob|data):/.test(url)), []);
    await page.close();
});

test('a file with errors offers no download; what cannot be converted is refused', async () => {
    const { page, console: messages } = await open(browser, pageUrl(webDir));
    const write = (name, bytes) => {
        fs.writeFileSync(path.join(scratch, name), bytes);
        return path.join(scratch, name);
    };
    const bad = write('bad.dat', '1,47:07.300N,009:31.200E,448M,HAT,HOME\r\n' +
        'x,47:10.050N,009:36.800E,1850M,T,NO NUMBER\r\n');
    const huge = write('huge.dat', '');
    fs.truncateSync(huge, 64 * 1024 * 1024 + 1);
    for (const [file, outcome] of [
        [write('notes.txt', fs.readFileSync(example)), /^Not converted: the SN10 file is named/],
        [huge, /^Not converted: huge\.dat is far too large for a turnpoint file\.$/],
    ]) {
        await chooseFile(page, file);
        const shown = await convert(page);
        assert.match(shown.outcome, outcome);
        assert.equal(shown.detailsShown, false);
    }

    // A field the command line would refuse is refused with the command line's rule, and has
    // the focus; nothing is run.
    await chooseFile(page, bad);
    const cliRule = (options) => convertWithCli('bad.dat', fs.readFileSync(bad), options).stderr
        .match(/: (give .*|a CAI file .*)\n/)[1];
    for (const [id, text, options] of [['variation', '1e1', ['-v', '1e1']],
        ['timezone', '15', ['--timezone', '15']], ['home', 'HOME', ['--home', 'HOME']]]) {
        await page.type('#' + id, text);
        await page.focus('#convert');
        await page.keyboard.press('Enter');
        await page.waitForSelector(`#${id}-error:not([hidden])`);
        assert.equal(await page.evaluate(() => document.activeElement.id), id);
        assert.equal(await page.$eval('#details', (d) => d.hidden), true);
        const problem = await page.$eval(`#${id}-error`, (e) => e.textContent.toLowerCase());
        assert.ok(problem.includes(cliRule(options).toLowerCase()), problem);
        await page.$eval('#' + id, (v) => { v.value = ''; });
    }

    const shown = await convert(page);
    assert.equal(shown.download, null);
    assert.equal(shown.outcome, 'bad.NDB not written: 1 error, see the report.');
    assert.equal(shown.errors, '1 error');
    assert.match(shown.report, /^Error bad\.dat 2: Invalid or missing point ID number\n/);
    assert.deepEqual(await page.$$eval('.problem', (all) => all.filter((e) => !e.hidden)), []);
    assert.deepEqual(messages, []);
    await page.close();
});

test('a megabyte of random bytes gives a report and no console message, 360 px wide', async () => {
    const phone = { width: 360, height: 740 };
    const { page, console: messages } = await open(browser, pageUrl(webDir), phone);
    // Without Ctrl-Z, which would end the file within its first few hundred bytes.
    let x = 12345;
    const noise = Buffer.from(Array.from({ length: 1 << 20 },
        () => (x = (Math.imul(x, 1103515245) + 12345) >>> 0) >>> 24));
    noise.forEach((b, i) => { noise[i] = b === 0x1a ? 0 : b; });
    fs.writeFileSync(path.join(scratch, 'noise.dat'), noise);
    await chooseFile(page, path.join(scratch, 'noise.dat'));
    const shown = await convert(page);
    // Each line as the desktop program shows it: UTF-8 where valid, else Latin-1.
    const cli = spawnSync(convertProgram, ['-f', 'noise.dat'], { cwd: scratch });
    const lines = cli.stdout.toString('latin1').split('\n').slice(0, -1)
        .map((line) => Buffer.from(line, 'latin1'))
        .map((line) => line.toString(isUtf8(line) ? 'utf8' : 'latin1') + '\n');
    assert.ok(lines.length > 1000);
    assert.equal(shown.report, lines.join(''));
    assert.equal(shown.download, null);
    // The page itself never scrolls sideways; only the report does.
    assert.equal(await page.evaluate(() => document.documentElement.scrollWidth), 360);
    assert.deepEqual(messages, []);
    await page.close();
});

test('the page works from a static file server too', async () => {
    const types = { '.html': 'text/html', '.js': 'text/javascript', '.css': 'text/css',
        '.wasm': 'application/wasm' };
    const server = http.createServer((request, response) => {
        const file = path.join(webDir, path.basename(new URL(request.url, 'http://x').pathname));
        if (!fs.statSync(file, { throwIfNoEntry: false })?.isFile())
            return response.writeHead(404).end();
        response.writeHead(200, { 'Content-Type': types[path.extname(file)] });
        response.end(fs.readFileSync(file));
    });
    await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
    try {
        const url = `http://127.0.0.1:${server.address().port}/index.html`;
        const { page, console: messages, requests } = await open(browser, url);
        await chooseFile(page, example);
        const shown = await convert(page);
        assert.equal(shown.download, 'Download alpine-club.NDB');
        assert.ok(requests.some((r) => r.endsWith('/velquor.wasm')));
        assert.ok(!requests.some((r) => r.endsWith('/velquor-wasm.js')));
        assert.deepEqual(messages, []);
        await page.close();
    } finally {
        server.close();
    }
});
