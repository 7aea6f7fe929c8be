// The WebAssembly engine, loaded as the page loads it, against velquor-convert: for the examples
// and a generated corpus of varied CAI files, the same report bytes, the same SN10 bytes, and an
// SN10 file exactly when velquor-convert writes one. velquor-convert runs in the file's folder
// with the bare file name and no OUTPUT, as the page runs the engine.
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import fs from 'node:fs';
import { createRequire } from 'node:module';
import path from 'node:path';
import test from 'node:test';

const convertProgram = process.env.VELQUOR_CONVERT;
const webDir = process.env.VELQUOR_WEB;
const scratch = path.join(process.env.VELQUOR_TEST_TMP || '/tmp/velquor-tests', 'web-engine');
const examples = new URL('../../examples/', import.meta.url).pathname;

const { create } = createRequire(import.meta.url)(path.join(webDir, 'converter.js'));
const engine = await create();

// What velquor-convert exits with for each result of the page's engine.
function expectedStatus(run) {
    if (run.result === 'BadVariation' || run.result === 'NoOutputName')
        return 2;
    if (run.result === 'CaiFileNotRead' || run.result === 'Sn10FileNotOpened')
        return 4;
    return run.errors > 0 ? 1 : 0;
}

// Converts one file both ways in a fresh folder; returns the page engine's result and the
// differences found, if any.
function compare(dir, name, bytes, variation) {
    fs.rmSync(dir, { recursive: true, force: true });
    fs.mkdirSync(dir, { recursive: true });
    fs.writeFileSync(path.join(dir, name), bytes);
    const args = variation === null ? [name] : ['-v', variation, name];
    const cli = spawnSync(convertProgram, args, { cwd: dir, stdio: ['ignore', 'pipe', 'pipe'] });
    const run = engine.convert(name, bytes, variation);
    const problems = [];
    if (!Buffer.from(run.report).equals(cli.stdout)) {
        const page = Buffer.from(run.report).toString('latin1').split('\n');
        const own = cli.stdout.toString('latin1').split('\n');
        const at = page.findIndex((line, k) => line !== own[k]);
        problems.push(`report line ${at + 1} is ${JSON.stringify(page[at])}, ` +
            `velquor-convert printed ${JSON.stringify(own[at])}`);
    }
    if (cli.status !== expectedStatus(run))
        problems.push(`velquor-convert exited ${cli.status} for ${run.result} (${cli.stderr})`);
    const written = run.outputName ? path.join(dir, run.outputName) : null;
    const cliWrote = written !== null && fs.existsSync(written);
    if (cliWrote !== (run.output !== null))
        problems.push(`velquor-convert ${cliWrote ? 'wrote' : 'did not write'} ` +
            `${run.outputName}, the page ${run.output ? 'offers' : 'does not offer'} it`);
    else if (cliWrote && !fs.readFileSync(written).equals(Buffer.from(run.output)))
        problems.push(`${run.outputName} differs`);
    return { result: run.result,
        problem: problems.length ? `${name} (-v ${variation}): ${problems.join('; ')}` : null };
}

// A small deterministic random source, so that a failure can be run again.
function random(seed) {
    return () => {
        seed = (seed + 0x6d2b79f5) | 0;
        let t = Math.imul(seed ^ (seed >>> 15), 1 | seed);
        t = (t + Math.imul(t ^ (t >>> 7), 61 | t)) ^ t;
        return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
    };
}

// CAI files as bytes (latin1 strings), built to reach the reader's, writer's and option rules.
function makeCorpus(count, rand) {
    const pick = (list) => list[Math.floor(rand() * list.length)];
    const chance = (p) => rand() < p;
    const latin1 = (text) => Buffer.from(text, 'utf8').toString('latin1');
    const ids = ['1', '7', '42', '999', '1000', '12345', '-5', '12A', 'A12', '', ' 3', '+8',
        '99999999999', '0x10', '2.5'];
    const types = ['T', 'HAT', 'AL', 'TS', 'TF', 'TM', 'L', 'R', 'H', 'RT', 'hat', 'tsmlfa',
        'A T', 'XY', '', 'T ', 'AFHLMRSTAFHLMRSTAFX', 'FAL'];
    const names = ['VALLEY FIELD', 'NORTH RIDGE', 'NORTH RIDGE EAST', 'AB', '"OLD" BRIDGE',
        'WESTWOOD', 'HILLTOP STRIP', latin1('ZÜRICH KLOTEN'), 'M\xfcnster', 'A,B', ' SPACED ',
        'X'.repeat(40), ''];
    const comments = ['', 'Tower 122.475', 'say "hi"', 'tab\there', 'x'.repeat(230), 'a,b,c'];
    const ends = ['\r\n', '\n', '\r\r\n'];
    const titles = ['Alpine Club ------------', '-----', '\rABC', '\r', latin1('Séderon ---'),
        '"Quoted" site', 'T'.repeat(190), ''];
    const zones = ['1 ------', '-5', '5.5', '5.1', '0x10', 'inf', 'none', '-0', '12', ' 2e1'];
    const corpus = [];
    for (let i = 0; i < count; ++i) {
        const end = pick(ends);
        let text = chance(0.1) ? '\xef\xbb\xbf' : '';
        if (chance(0.1))
            text += end;
        if (chance(0.8))
            text += '**  ------------ ' + pick(titles) + end;
        if (chance(0.7))
            text += '**  ------ Timezone: ' + pick(zones) + end;
        const points = i % 50 === 7 ? 1799 + (i % 3) * 30 : Math.floor(rand() * 40);
        const clean = chance(0.5); // good lines only, so that the SN10 file gets written
        for (let p = 0; p < points; ++p) {
            const lineEnd = clean || chance(0.9) ? end : pick([...ends, '\r']);
            if (chance(0.05)) {
                text += pick(['* comment', '   * indented', '', ' \t ', '\f']) + lineEnd;
                continue;
            }
            const id = clean ? String(p + 1) : pick(ids);
            const goodType = p === 0 ? 'HAT' : pick(['T', 'TS', 'AL', 'TF', 'R']);
            const type = clean ? goodType : pick(types);
            const name = clean ? pick(names.slice(0, 7)) : pick(names);
            let line = [id, `${45 + (p % 9)}:0${p % 10}.${p % 1000}N`,
                `00${p % 10}:1${p % 10}.5E`, chance(0.1) ? '9M' : `${100 + p}M`, type, name,
                clean ? pick(comments.slice(0, 4)) : pick(comments)].join(',');
            if (chance(0.03))
                line += ',extra,fields';
            if (!clean && chance(0.02))
                line = line.slice(0, 3) + '\x1a' + line.slice(3); // Ctrl-Z ends the file
            text += line + lineEnd;
        }
        if (chance(0.1))
            text += 'Z'.repeat(150 + Math.floor(rand() * 500)) + end;
        if (chance(0.2))
            text = text.replace(/\r?\n$/, '');
        const fileNames = ['f.dat', 'CLUB.DAT', 'My Club.Dat', 'site"quoted.dat', 'my.data.dat',
            'Zürich.dat', 'list.txt'];
        const variation = chance(0.15)
            ? pick(['181', '-180.5', '1e1', '--5', '+-5', 'inf', '0x10', '.5', '5.', 'west'])
            : pick([null, null, '2', '-1.5', '+3', '0', '-0', '180', '-180', '12.25', '007']);
        const name = i % 20 === 3 ? fileNames[(i / 20) % fileNames.length | 0] : 'f.dat';
        corpus.push({ name, bytes: Buffer.from(text, 'latin1'), variation });
    }
    // Bytes no editor writes: every value, and a long run without a line end.
    const noise = Buffer.alloc(300000);
    const r = random(99);
    for (let k = 0; k < noise.length; ++k)
        noise[k] = Math.floor(r() * 256);
    corpus.push({ name: 'noise.dat', bytes: noise, variation: '1' });
    corpus.push({ name: 'empty.dat', bytes: Buffer.alloc(0), variation: null });
    return corpus;
}

test('the examples convert as velquor-convert converts them', () => {
    const files = fs.readdirSync(examples).filter((f) => /\.dat$/i.test(f));
    assert.ok(files.length > 0);
    for (const name of files) {
        const bytes = fs.readFileSync(path.join(examples, name));
        for (const variation of [null, '2']) {
            const { problem } = compare(path.join(scratch, 'examples'), name, bytes, variation);
            assert.equal(problem, null);
        }
    }
});

test('a generated corpus converts as velquor-convert converts it', (t) => {
    const corpus = makeCorpus(240, random(20261207));
    const failures = [];
    const results = {};
    corpus.forEach(({ name, bytes, variation }, i) => {
        const { result, problem } = compare(path.join(scratch, 'corpus', String(i)), name, bytes,
            variation);
        results[result] = (results[result] || 0) + 1;
        if (problem)
            failures.push(`file ${i}: ${problem}`);
    });
    t.diagnostic(`results: ${JSON.stringify(results)}`);
    assert.deepEqual(failures.slice(0, 3), [], `${failures.length} of ${corpus.length} differ`);
});

test('a report too large to keep is cut at a line, and the lines left out are counted', () => {
    const dir = path.join(scratch, 'large');
    fs.rmSync(dir, { recursive: true, force: true });
    fs.mkdirSync(dir, { recursive: true });
    const bytes = Buffer.from('x\n'.repeat(500000)); // every line an error, each reported
    fs.writeFileSync(path.join(dir, 'large.dat'), bytes);
    const cli = spawnSync(convertProgram, ['large.dat'], { cwd: dir, maxBuffer: 1 << 30 });
    const lines = cli.stdout.toString('latin1').split('\n').slice(0, -1);
    const run = engine.convert('large.dat', bytes, null);
    const kept = run.lines.length;
    assert.ok(kept > 100000 && run.linesLeftOut > 0);
    assert.equal(kept + run.linesLeftOut, lines.length);
    assert.equal(Buffer.from(run.report).toString('latin1'),
        lines.slice(0, kept).join('\n') + '\n');
    const limit = 16 << 20;
    assert.ok(run.report.length <= limit && run.report.length + lines[kept].length + 1 > limit);
    assert.equal(lines.at(-1), `    ${run.errors} Errors found by VELQUOR`);
});
