// SPDX-License-Identifier: MIT
// The WebAssembly engine, loaded as the page loads it, against velquor-convert: for the examples
// and a generated corpus of varied CAI and CUP files and options, the same report bytes, the same
// SN10 bytes, and an SN10 file exactly when velquor-convert writes one. velquor-convert runs in
// the file's folder with the bare file name and no OUTPUT, as the page runs the engine.
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

// The page's fields as velquor-convert's options; an empty field is an option not given.
const Options = { variation: '--variation', timezone: '--timezone', home: '--home',
    title: '--title' };
function optionArgs(fields) {
    return Object.entries(fields).filter(([, text]) => text !== null && text !== undefined)
        .map(([key, text]) => `${Options[key]}=${text}`);
}

// velquor-convert in a fresh folder, with the file's bare name.
function convertWithCli(dir, name, bytes, fields) {
    fs.rmSync(dir, { recursive: true, force: true });
    fs.mkdirSync(dir, { recursive: true });
    fs.writeFileSync(path.join(dir, name), bytes);
    return spawnSync(convertProgram, [...optionArgs(fields), name], { cwd: dir,
        maxBuffer: 1 << 30 });
}

// Converts one file both ways; returns the page engine's result and what differs, if anything.
function compare(dir, { name, bytes, fields }) {
    const cli = convertWithCli(dir, name, bytes, fields);
    const run = engine.convert(name, bytes, fields);
    const status = { BadVariation: 2, NoOutputName: 2, BadTimezone: 2, HomeForCai: 2,
        CaiFileNotRead: 4, Sn10FileNotOpened: 4 };
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
    return { result: run.result, problem: problems.length
        ? `${name} (${optionArgs(fields).join(' ')}): ${problems.join('; ')}` : null };
}

// Turnpoint files (bytes as latin1 strings) built to reach the readers', the writer's and the
// options' rules, from a fixed seed so that a failure can be run again.
let seed = 20261207;
const rand = () => (seed = (Math.imul(seed, 1103515245) + 12345) >>> 0) / 2 ** 32;
const pick = (list) => list[Math.floor(rand() * list.length)];
const chance = (p) => rand() < p;
const utf8 = (text) => Buffer.from(text, 'utf8').toString('latin1');

function makeCaiCorpus(count) {
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
        corpus.push({ name, bytes: Buffer.from(text, 'latin1'), fields: { variation } });
    }
    // Bytes no editor writes, without the Ctrl-Z that would end them early; and nothing at all.
    const noise = Buffer.from(Array.from({ length: 300000 }, () => Math.floor(rand() * 256)))
        .map((b) => (b === 0x1a ? 0x1b : b));
    corpus.push({ name: 'noise.dat', bytes: noise, fields: { variation: '1' } },
        { name: 'empty.dat', bytes: Buffer.alloc(0), fields: {} });
    return corpus;
}

// CUP files: with and without a header, quoted and blank fields, both encodings, every column's
// good and bad forms, tasks after the waypoints, and the home point, timezone and title options.
function makeCupCorpus(count) {
    const headers = ['name,code,country,lat,lon,elev,style,rwdir,rwlen,freq,desc',
        'name,code,country,lat,lon,elev,style,rwdir,rwlen,rwwidth,freq,desc,userdata,pics',
        'Title,Code,Country,Latitude,Longitude,Elevation,Style,Direction,Length,Frequency,' +
        'Description', 'NAME,lat,lon,code,style,desc,elev,unknown', ''];
    const names = ['Valley Field', 'North Ridge', '"Rabbit holes, 20"" ditch"', '"A "B" C"',
        utf8('Münster Süd-Ost Flugplatz'), 'M\xfcnster', ' Spaced ', 'X'.repeat(30), '""', '',
        '"open quote'];
    const codes = ['VALLEY', 'NRIDGE', 'LONGCODE9', '', '"Q,C"', utf8('ÄÖÜ')];
    const lats = ['4707.300N', '4710.050n', '5048.8S', '9000.000N', '4560.000N', '9000.001N',
        '47.300N', '4707.300', 'N4707.300', ''];
    const lons = ['00931.200E', '00936.8e', '17959.999W', '18000.000E', '18000.001E',
        '0931.200E', '00931.200X', ''];
    const elevs = ['448.0m', '1411ft', '1411 FT', '-3.5m', '', '12', '12km', 'm', '1e3m'];
    const styles = ['1', '2', '3', '4', '5', '7', '', '0', '22', '-1', 'x', '2.5'];
    const descs = ['', '"Tower"', '"Line one\\nline two"', utf8('"Piste 09/27 € ≠"'), 'a,b'];
    const freqs = ['', '122.475', '"123.500"'];
    const ends = ['\r\n', '\n'];
    const corpus = [];
    for (let i = 0; i < count; ++i) {
        const end = pick(ends);
        const header = pick(headers);
        const columns = header ? header.split(',').map((c) => c.toLowerCase()) : ['name', 'code',
            'country', 'lat', 'lon', 'elev', 'style', 'rwdir', 'rwlen', 'freq', 'desc'];
        let text = (chance(0.1) ? '\xef\xbb\xbf' : '') + (header ? header + end : '');
        const points = i % 40 === 5 ? 1799 + (i % 3) * 6 : Math.floor(rand() * 30);
        const clean = chance(0.5);
        const rowNames = [];
        for (let p = 0; p < points; ++p) {
            if (chance(0.04)) {
                text += pick(['* comment', '   * indented', '', ' \t ']) + end;
                continue;
            }
            const values = {
                name: clean ? `Point ${p}` : pick(names),
                title: clean ? `Point ${p}` : pick(names),
                code: clean ? `P${p}` : pick(codes),
                country: 'CH',
                lat: clean ? `${45 + (p % 9)}0${p % 10}.${p}N` : pick(lats),
                latitude: clean ? `${45 + (p % 9)}0${p % 10}.${p}N` : pick(lats),
                lon: clean ? `00${p % 10}1${p % 10}.5E` : pick(lons),
                longitude: clean ? `00${p % 10}1${p % 10}.5E` : pick(lons),
                elev: clean ? `${100 + p}.0m` : pick(elevs),
                elevation: clean ? `${100 + p}.0m` : pick(elevs),
                style: pick(clean ? styles.slice(0, 7) : styles),
                freq: pick(freqs), frequency: pick(freqs),
                desc: pick(descs), description: pick(descs),
            };
            rowNames.push(values.code || values.name);
            let fieldCount = columns.length - (chance(0.2) ? 2 : 0);
            text += columns.slice(0, fieldCount).map((c) => values[c] ?? '').join(',') + end;
        }
        if (chance(0.1))
            text += '-----Related Tasks-----' + end + '"Task",Valley Field,North Ridge' + end;
        if (chance(0.2))
            text = text.replace(/\r?\n$/, '');
        const fields = {
            variation: pick([null, '2', '-1.5']),
            timezone: chance(0.3) ? pick(['1', '-3.5', '14', '15', '-12.5', 'x']) : null,
            home: chance(0.3) ? pick([...rowNames.slice(0, 3), 'point 1', 'NOWHERE']) ?? null
                : null,
            title: chance(0.3) ? pick(['Alpine Club', utf8('Séderon'), 'T'.repeat(40)]) : null,
        };
        const name = i % 15 === 4 ? pick(['Club.CUP', 'my.cup.cup', 'list.cupx']) : 'f.cup';
        corpus.push({ name, bytes: Buffer.from(text, 'latin1'), fields });
    }
    // The options with a CAI file: a home point is refused, the others win over the file's.
    const cai = Buffer.from('**  ------------ Site ---\r\n1,47:07.300N,009:31.200E,448M,HAT,' +
        'HOME,\r\n', 'latin1');
    corpus.push({ name: 'c.dat', bytes: cai, fields: { home: 'HOME' } },
        { name: 'c.dat', bytes: cai, fields: { timezone: '2', title: 'Other title' } });
    return corpus;
}

test('the examples and a generated corpus convert as velquor-convert converts them', (t) => {
    const corpus = [...makeCaiCorpus(240), ...makeCupCorpus(160)];
    for (const name of fs.readdirSync(examples).filter((f) => /\.(dat|cup)$/i.test(f))) {
        const bytes = fs.readFileSync(path.join(examples, name));
        corpus.push({ name, bytes, fields: {} }, { name, bytes, fields: { variation: '2' } });
    }
    // A file far longer than the table: its report stays short.
    const long = Buffer.from('x\n'.repeat(500000));
    corpus.push({ name: 'long.dat', bytes: long, fields: {} });
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
    const longRun = engine.convert('long.dat', long, {});
    assert.equal(longRun.linesLeftOut, 0);
    assert.ok(Buffer.from(longRun.report).includes('\nError long.dat 500000: 498191 more point ' +
        'lines did not fit into the table of 1799 points\n'));
});
