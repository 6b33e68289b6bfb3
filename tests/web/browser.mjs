// Shared by the browser tests: a static server for a build folder on 127.0.0.1,
// headless Chromium (Debian's, driven by puppeteer-core) with software WebGL, and
// the page's console errors collected.
import http from 'node:http';
import fs from 'node:fs';
import path from 'node:path';
import puppeteer from 'puppeteer-core';

const TYPES = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.mjs': 'text/javascript; charset=utf-8',
  '.wasm': 'application/wasm',  // streaming compilation needs it
  '.data': 'application/octet-stream',
  '.mp3': 'audio/mpeg',
  '.png': 'image/png',
  '.css': 'text/css',
};

// Serves the files of root (and of extra: URL path -> file) until close(); every
// request outside them is a 404. Resolves to {url, close, requests}.
export function serve(root, extra = {}) {
  const requests = [];
  const server = http.createServer((request, response) => {
    const name = decodeURIComponent(new URL(request.url, 'http://x').pathname);
    requests.push(name);
    let file = extra[name];
    if (!file) {
      file = path.join(path.resolve(root), path.normalize(name === '/' ? '/index.html' : name));
      if (!file.startsWith(path.resolve(root) + path.sep))
        file = null;
    }
    fs.readFile(file || '', (error, body) => {
      if (error) {
        response.writeHead(404);
        response.end();
        return;
      }
      response.writeHead(200, {
        'Content-Type': TYPES[path.extname(file)] || 'application/octet-stream',
        'Cache-Control': 'no-store',
      });
      response.end(body);
    });
  });
  return new Promise((resolve) => {
    server.listen(0, '127.0.0.1', () => {
      resolve({
        url: `http://127.0.0.1:${server.address().port}`,
        requests,
        close: () => new Promise((done) => server.close(done)),
      });
    });
  });
}

export function launch(args = []) {
  return puppeteer.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    headless: true,
    args: ['--use-angle=swiftshader', '--enable-unsafe-swiftshader', '--no-sandbox', ...args],
  });
}

// A page whose console errors and uncaught exceptions land in the returned array.
export async function pageWithErrors(browser) {
  const page = await browser.newPage();
  const errors = [];
  page.on('console', (message) => {
    if (message.type() === 'error')
      errors.push(message.text() + (message.location().url ? ` (${message.location().url})` : ''));
  });
  page.on('pageerror', (error) => errors.push(String(error)));
  page.on('requestfailed', (request) => errors.push('failed: ' + request.url()));
  return {page, errors};
}
