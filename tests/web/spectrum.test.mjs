// The page's spectrum against the desktop's: the same tool (tools/spectrumprint)
// built for both, on one generated MP3 at the same clock times. A 3 s stereo file:
// channel 0 a sweep, so that a window shifted by a few frames (another decoder
// delay, another heard frame) reads different bands, channel 1 a fixed tone, so
// that reading the wrong channel shows too.
// Environment: DEDOZ_SPECTRUMPRINT (the desktop tool), DEDOZ_WEB_TESTS (the
// emscripten build of tests/web/page).
import {test} from 'node:test';
import assert from 'node:assert/strict';
import {execFileSync} from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import {serve, launch, pageWithErrors} from './browser.mjs';

const TIMES = [50, 100, 500, 1000, 1733, 2500, 2999, 3100];  // ms; 3100 is past the end
const TOLERANCE = 1e-3;

function parse(output) {
  const rows = new Map();
  for (const line of output) {
    const values = line.trim().split(/\s+/).map(Number);
    if (values.length === 513 && values.every(Number.isFinite))
      rows.set(values[0], values.slice(1));
  }
  return rows;
}

test('the page computes the desktop spectrum of the same MP3', async () => {
  const work = fs.mkdtempSync(path.join(os.tmpdir(), 'dedoz-spectrum-'));
  const mp3 = path.join(work, 'tone.mp3');
  execFileSync('sox', ['-D', '-n', '-r', '44100', '-c', '2', '-b', '16', path.join(work, 'tone.wav'),
                       'synth', '3', 'sine', '200-4000', 'sine', '3000', 'gain', '-n', '-3']);
  execFileSync('lame', ['--quiet', '--cbr', '-b', '320', '-q', '2', path.join(work, 'tone.wav'), mp3]);
  const desktop = parse(execFileSync(process.env.DEDOZ_SPECTRUMPRINT, [mp3, ...TIMES.map(String)],
                                     {encoding: 'utf8'}).split('\n'));
  assert.equal(desktop.size, TIMES.length, 'the desktop tool printed every time');

  const server = await serve(process.env.DEDOZ_WEB_TESTS, {'/tone.mp3': mp3});
  const browser = await launch();
  try {
    const {page, errors} = await pageWithErrors(browser);
    await page.goto(`${server.url}/spectrum.html?file=tone.mp3&times=${TIMES.join(',')}`);
    await page.waitForFunction('window.spectrumDone !== null', {timeout: 60000});
    assert.equal(await page.evaluate('window.spectrumDone'), 0, 'spectrumprint ended well in the page');
    assert.deepEqual(errors, []);
    const web = parse(await page.evaluate('window.spectrumLines'));
    let worst = 0;
    for (const ms of TIMES) {
      const a = desktop.get(ms);
      const b = web.get(ms);
      assert.ok(b, `the page printed the spectrum at ${ms} ms`);
      for (let band = 0; band < a.length; ++band) {
        const difference = Math.abs(a[band] - b[band]);
        worst = Math.max(worst, difference);
        assert.ok(difference <= TOLERANCE,
                  `${ms} ms, band ${band}: desktop ${a[band]}, page ${b[band]}`);
      }
    }
    // The sweep must be heard at all: a silent pair of spectra would also agree.
    assert.ok(Math.max(...desktop.get(500)) > 0.3, 'the sweep shows in the spectrum');
    console.log(`spectrum: largest difference page vs desktop ${worst.toExponential(2)} over ` +
                `${TIMES.length} times x 512 bands`);
  } finally {
    await browser.close();
    await server.close();
    fs.rmSync(work, {recursive: true, force: true});
  }
});
