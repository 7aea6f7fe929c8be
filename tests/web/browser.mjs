// SPDX-License-Identifier: MIT
// Debian's Chromium, headless, for the converter page's test, benchmark and screenshot.
import os from 'node:os';
import path from 'node:path';
import { pathToFileURL } from 'node:url';
import puppeteer from 'puppeteer-core';

// A closed network: no background connections, no component or browser downloads.
export function launch() {
    const args = ['--disable-gpu', '--disable-quic', '--no-first-run', '--disable-sync',
        '--disable-background-networking', '--disable-component-update', '--lang=en-GB'];
    if (os.userInfo().uid === 0)
        args.push('--no-sandbox');
    return puppeteer.launch({
        executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
        headless: true,
        args,
    });
}

// The page of a built folder, opened straight from disk.
export function pageUrl(webDir) {
    return pathToFileURL(path.join(webDir, 'index.html')).href;
}

// Opens a page and keeps what it says on its console and every request it makes.
export async function open(browser, url, { width = 1000, height = 900 } = {}) {
    const page = await browser.newPage();
    await page.setViewport({ width, height });
    const console_ = [];
    const requests = [];
    page.on('console', (message) => console_.push(`${message.type()}: ${message.text()}`));
    page.on('pageerror', (error) => console_.push(`pageerror: ${error.message}`));
    page.on('request', (request) => requests.push(request.url()));
    await page.goto(url, { waitUntil: 'load' });
    return { page, console: console_, requests };
}

// Chooses a file through the page's file input and waits until the page has read it.
export async function chooseFile(page, file) {
    const input = await page.$('#input-file');
    await input.uploadFile(file);
    await page.waitForFunction(() => /ready to convert|could not be read|too large/.test(
        document.getElementById('file-status').textContent));
}
