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
const scratch = path.join(process.env.VELQUOR_TEST_TMP || '/tmp/velquor-tests', 'web-engine');
const examples = new URL('../../examples/', import.meta.url).pathname;
const require = createRequire(import.meta.url);
const engine = await require(path.join(process.env.VELQUOR_WEB, 'converter.js')).create();

// velquor-convert in a fresh folder, with the file's bare name.
function convertWithCli(dir, name, bytes, variation) {
    fs.rmSync(dir, { recursive: true, force: true });
    fs.mkdirSync(dir, { recursive: true });
    fs.writeFileSync(path.join(dir, name), bytes);
    const args = variation === null ? [name] : ['-v', variation, name];
    return spawnSync(convertProgram, args, { cwd: dir, maxBuffer: 1 << 30 });
}

// Converts one file both ways; returns the page engine's result and what differs, if anything.
function compare(dir, { name, bytes, variation }) {
    const cli = convertWithCli(dir, name, bytes, variation);
    const run = engine.convert(name, bytes, variation);
    const status = { BadVariation: 2, NoOutputName: 2, CaiFileNotRead: 4, Sn10FileNotOpened: 4 };
    const problems = [];
    if (!Buffer.from(run.report).equals(cli.stdout)) {
        const page = Buffer.from(run.report).toString('latin1').split('\n');
        const own = cli.stdout.toString('latin1').split('\n');
        const at = page.findIndex((line, k) => line !== own[k]);
        problems.push(`report line ${at + 1} is ${JSON.stringify(page[at])}, ` +
            `velquor-convert printed ${JSON.stringify(own[at])}`);
    }
    if (cli.status !== (status[run.result] ?? (run.errors > 0 ? 1 : 0)))
        problems.push(`velquor-convert exited ${cli.status} for ${run.result} (${cli.stderr})`);
    const written = path.join(dir, run.outputName || '-');
    const cliWrote = run.outputName !== '' && fs.existsSync(written);
    if (cliWrote !== (run.output !== null))
        problems.push(`velquor-convert ${cliWrote ? 'wrote' : 'did not write'} ` +
            `${run.outputName}, the page ${run.output ? 'offers' : 'does not offer'} it`);
    else if (cliWrote && !fs.readFileSync(written).equals(Buffer.from(run.output)))
        problems.push(`${run.outputName} differs`);
    return { result: run.result,
        problem: problems.length ? `${name} (-v ${variation}): ${problems.join('; ')}` : null };
}

// CAI files (bytes as latin1 strings) built to reach the reader's, writer's and option rules,
// from a fixed seed so that a failure can be run again.
function makeCorpus(count) {
    let seed = 20261207;
    const rand = () => (seed = (Math.imul(seed, 1103515245) + 12345) >>> 0) / 2 ** 32;
    const pick = (list) => list[Math.floor(rand() * list.length)];
    const chance = (p) => rand() < p;
    const utf8 = (text) => Buffer.from(text, 'utf8').toString('latin1');
    const ids = ['1', '7', '42', '999', '1000', '12345', '-5', '12A', 'A12', '', ' 3', '+8',
        '99999999999', '0x10', '2.5'];
    const types = ['T', 'HAT', 'AL', 'TS', 'TF', 'TM', 'L', 'R', 'H', 'RT', 'hat', 'tsmlfa',
        'A T', 'XY', '', 'T ', 'AFHLMRSTAFHLMRSTAFX', 'FAL'];
    const names = ['VALLEY FIELD', 'NORTH RIDGE', 'NORTH RIDGE EAST', 'AB', '"OLD" BRIDGE',
        'WESTWOOD', 'HILLTOP STRIP', utf8('ZÜRICH KLOTEN'), 'M\xfcnster', 'A,B', ' SPACED ',
        'X'.repeat(40), ''];
    const comments = ['', 'Tower 122.475', 'say "hi"', 'tab\there', 'x'.repeat(230), 'a,b,c'];
    const ends = ['\r\n', '\n', '\r\r\n'];
    const titles = ['Alpine Club ------------', '-----', '\rABC', '\r', utf8('Séderon ---'),
        '"Quoted" site', 'T'.repeat(190), ''];
    const zones = ['1 ------', '-5', '5.5', '5.1', '0x10', 'inf', 'none', '-0', '12', ' 2e1'];
    const fileNames = ['CLUB.DAT', 'My Club.Dat', 'site"quoted.dat', 'my.data.dat', 'Zürich.dat',
        'list.txt'];
    const corpus = [];
    for (let i = 0; i < count; ++i) {
        const end = pick(ends);
        let text = (chance(0.1) ? '\xef\xbb\xbf' : '') + (chance(0.1) ? end : '');
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
            const goodType = p === 0 ? 'HAT' : pick(['T', 'TS', 'AL', 'TF', 'R']);
            let line = [clean ? String(p + 1) : pick(ids), `${45 + (p % 9)}:0${p % 10}.${p}N`,
                `00${p % 10}:1${p % 10}.5E`, chance(0.1) ? '9M' : `${100 + p}M`,
                clean ? goodType : pick(types), pick(clean ? names.slice(0, 7) : names),
                pick(clean ? comments.slice(0, 4) : comments)].join(',');
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
        const variation = chance(0.15)
            ? pick(['181', '-180.5', '1e1', '--5', '+-5', 'inf', '0x10', '.5', '5.', 'west'])
            : pick([null, null, '2', '-1.5', '+3', '0', '-0', '180', '-180', '12.25', '007']);
        const name = i % 20 === 3 ? fileNames[(i / 20 | 0) % fileNames.length] : 'f.dat';
        corpus.push({ name, bytes: Buffer.from(text, 'latin1'), variation });
    }
    // Bytes no editor writes, without the Ctrl-Z that would end them early; and nothing at all.
    const noise = Buffer.from(Array.from({ length: 300000 }, () => Math.floor(rand() * 256)))
        .map((b) => (b === 0x1a ? 0x1b : b));
    corpus.push({ name: 'noise.dat', bytes: noise, variation: '1' },
        { name: 'empty.dat', bytes: Buffer.alloc(0), variation: null });
    return corpus;
}

test('the examples and a generated corpus convert as velquor-convert converts them', (t) => {
    const corpus = makeCorpus(240);
    for (const name of fs.readdirSync(examples).filter((f) => /\.dat$/i.test(f))) {
        const bytes = fs.readFileSync(path.join(examples, name));
        corpus.push({ name, bytes, variation: null }, { name, bytes, variation: '2' });
    }
    const failures = [];
    const results = {};
    corpus.forEach((file, i) => {
        const { result, problem } = compare(path.join(scratch, String(i)), file);
        results[result] = (results[result] || 0) + 1;
        if (problem)
            failures.push(`file ${i}: ${problem}`);
    });
    t.diagnostic(`${corpus.length} files: ${JSON.stringify(results)}`);
    assert.deepEqual(failures.slice(0, 3), [], `${failures.length} of ${corpus.length} differ`);
});

test('a report too large to keep is cut at a line, and the lines left out are counted', () => {
    const bytes = Buffer.from('x\n'.repeat(500000)); // every line an error, each reported
    const cli = convertWithCli(path.join(scratch, 'large'), 'large.dat', bytes, null);
    const lines = cli.stdout.toString('latin1').split('\n').slice(0, -1);
    const run = engine.convert('large.dat', bytes, null);
    const kept = run.lines.length;
    assert.ok(kept > 100000 && run.linesLeftOut > 0);
    assert.equal(kept + run.linesLeftOut, lines.length);
    const report = Buffer.from(run.report).toString('latin1');
    assert.equal(report, lines.slice(0, kept).join('\n') + '\n');
    const limit = 16 << 20;
    assert.ok(run.report.length <= limit && run.report.length + lines[kept].length + 1 > limit);
    assert.equal(lines.at(-1), `    ${run.errors} Errors found by VELQUOR`);
});
