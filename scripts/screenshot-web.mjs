#!/usr/bin/env node
// SPDX-License-Identifier: MIT
// Opens the converter page from disk in headless Chromium, converts the example CUP file with
// the variation 2, the home point VALLEY and the timezone 1, and saves a picture of the page.
//
//   node scripts/screenshot-web.mjs [built page folder] [picture]
//
// Defaults: build-web/web and docs/velquor-web.png. Needs Debian's chromium and `npm ci`.
import path from 'node:path';
import { chooseFile, launch, open, pageUrl } from '../tests/web/browser.mjs';

const root = new URL('..', import.meta.url).pathname;
const webDir = path.resolve(process.argv[2] || path.join(root, 'build-web/web'));
const picture = path.resolve(process.argv[3] || path.join(root, 'docs/velquor-web.png'));

const browser = await launch();
try {
    const { page } = await open(browser, pageUrl(webDir), { width: 760, height: 980 });
    await chooseFile(page, path.join(root, 'examples/alpine-club.cup'));
    await page.type('#variation', '2');
    await page.type('#home', 'VALLEY');
    await page.type('#timezone', '1');
    await page.click('#convert');
    await page.waitForSelector('#details:not([hidden])');
    await page.evaluate(() => document.activeElement.blur());
    await page.screenshot({ path: picture, fullPage: true });
    console.log(`saved ${picture}`);
} finally {
    await browser.close();
}
