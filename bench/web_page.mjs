#!/usr/bin/env node
// SPDX-License-Identifier: MIT
// The converter page in headless Chromium, opened from disk: the size of its files, how long the
// page takes to get its engine ready, and how long a conversion takes once the file is read (from
// Convert pressed to the report and the download on the page, as the page itself times it) for a
// 1799-point file and the example.
//
//   node bench/web_page.mjs [built page folder] [pages]
//
// Each of the pages (default 9) is opened afresh and converts the file 10 times; the first
// conversion on each page is the one a user waits for. Defaults: build-web/web. Needs Debian's
// chromium and `npm ci`.
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import zlib from 'node:zlib';
import { chooseFile, launch, open, pageUrl } from '../tests/web/browser.mjs';

const root = new URL('..', import.meta.url).pathname;
const webDir = path.resolve(process.argv[2] || path.join(root, 'build-web/web'));
const loads = Number(process.argv[3] || 9);
const runs = 10;

const files = ['index.html', 'velquor.css', 'page.js', 'converter.js', 'velquor.js', 'velquor.wasm',
    'velquor-wasm.js'];
let total = 0;
for (const file of files) {
    const bytes = fs.readFileSync(path.join(webDir, file));
    total += bytes.length;
    console.log(`${file.padEnd(16)} ${String(bytes.length).padStart(7)} bytes ` +
        `(${zlib.gzipSync(bytes, { level: 9 }).length} gzipped)`);
}
console.log(`${'all'.padEnd(16)} ${String(total).padStart(7)} bytes ` +
    `= ${(total / 1024).toFixed(1)} KiB`);

const work = fs.mkdtempSync(path.join(os.tmpdir(), 'velquor-web-bench-'));
const points = ['**  ------------ Benchmark Site ------------', '**  ------ Timezone: 1 ------'];
for (let i = 1; i <= 1799; ++i) {
    points.push(`${i},${40 + (i % 20)}:${String(i % 60).padStart(2, '0')}.123N,` +
        `0${10 + (i % 80)}:${String(i % 60).padStart(2, '0')}.456E,${100 + i}M,` +
        `${i === 1 ? 'HAT' : 'T'},TP${String(i).padStart(4, '0')} FIELD,Comment for point ${i}`);
}
fs.writeFileSync(path.join(work, 'points.dat'), points.join('\r\n') + '\r\n');

const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const ms = (value) => value.toFixed(1) + ' ms';
const browser = await launch();
try {
    const example = path.join(root, 'examples/alpine-club.dat');
    for (const file of [path.join(work, 'points.dat'), example]) {
        // A user's first conversion on a freshly opened page, then the ones after it.
        const first = [];
        const later = [];
        const ready = [];
        let outcome = '';
        for (let load = 0; load < loads; ++load) {
            const { page } = await open(browser, pageUrl(webDir));
            await page.waitForSelector('html[data-engine="ready"]', { polling: 'mutation' });
            ready.push(await page.evaluate(() => performance.now()));
            await chooseFile(page, file);
            await page.type('#variation', '2');
            const times = await page.evaluate(async (count) => {
                const done = () => performance.getEntriesByName('velquor-convert').length;
                for (let i = 0; i < count; ++i) {
                    document.getElementById('convert').click();
                    while (done() === i)
                        await new Promise((resolve) => setTimeout(resolve, 1));
                }
                return performance.getEntriesByName('velquor-convert').map((e) => e.duration);
            }, runs);
            first.push(times[0]);
            later.push(...times.slice(1));
            outcome = await page.$eval('#outcome', (o) => o.textContent);
            await page.close();
        }
        console.log(`${path.basename(file)}: ${outcome}`);
        console.log(`  page opened to engine ready (warmed up): median ${ms(median(ready))}`);
        console.log(`  first conversion on a fresh page: median ${ms(median(first))} ` +
            `(min ${ms(Math.min(...first))}, max ${ms(Math.max(...first))}, ${loads} pages)`);
        console.log(`  later conversions: median ${ms(median(later))} ` +
            `(min ${ms(Math.min(...later))}, max ${ms(Math.max(...later))}, ${later.length} runs)`);
    }
} finally {
    await browser.close();
    fs.rmSync(work, { recursive: true, force: true });
}
