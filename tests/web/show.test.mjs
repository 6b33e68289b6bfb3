// The show in headless Chromium against the desktop's capture stills: the page is
// opened at three show times (#autostart&from=MS, muted: no gesture), a screenshot
// taken once it plays, and the desktop's still at the same show time rendered by
// dedoz-capture. Pictures of a running show never match pixel for pixel (trails,
// waves and the page's frame timing), so what is compared is what a viewer sees:
// how much of the picture is lit, and in which colours.
// Environment: DEDOZ_BUILD (the desktop build), DEDOZ_WEB_PAGE (the show's page,
// default build-web).
import {test} from 'node:test';
import assert from 'node:assert/strict';
import {execFileSync} from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import {serve, launch, pageWithErrors} from './browser.mjs';

const WIDTH = 640;
const HEIGHT = 480;
const MOMENTS = [3000, 20000, 67000];  // titles in red, the floor lit, coloured waves

// Shares of the picture (0 to 1), measured in the browser on a PNG's pixels:
//   lit       brightest channel >= 40
//   red       red >= 80 and more than twice green and blue (the titles)
//   coloured  brightest channel >= 80 and saturation >= 0.4 (the waves; the resting
//             floor is grey)
function measure(png) {
  return new Promise((resolve, reject) => {
    const image = new Image();
    image.onerror = () => reject(new Error('not an image'));
    image.onload = () => {
      const canvas = document.createElement('canvas');
      canvas.width = image.width;
      canvas.height = image.height;
      const context = canvas.getContext('2d');
      context.drawImage(image, 0, 0);
      const data = context.getImageData(0, 0, image.width, image.height).data;
      let lit = 0, red = 0, coloured = 0;
      for (let i = 0; i < data.length; i += 4) {
        const r = data[i], g = data[i + 1], b = data[i + 2];
        const max = Math.max(r, g, b), min = Math.min(r, g, b);
        if (max >= 40) ++lit;
        if (r >= 80 && r > 2 * g && r > 2 * b) ++red;
        if (max >= 80 && (max - min) / max >= 0.4) ++coloured;
      }
      const n = data.length / 4;
      resolve({lit: lit / n, red: red / n, coloured: coloured / n});
    };
    image.src = 'data:image/png;base64,' + png;
  });
}

test('the show plays in the page as on the desktop', async () => {
  const page = process.env.DEDOZ_WEB_PAGE || 'build-web';
  const build = process.env.DEDOZ_BUILD || 'build';
  const work = fs.mkdtempSync(path.join(os.tmpdir(), 'dedoz-show-'));
  const server = await serve(page);
  const browser = await launch();
  try {
    const shots = [];
    for (const from of MOMENTS) {
      const {page: tab, errors} = await pageWithErrors(browser);
      await tab.setViewport({width: WIDTH, height: HEIGHT});
      await tab.goto(`${server.url}/index.html#autostart&from=${from}`);
      // A few frames past the start: the first ones may still show the skip.
      await tab.waitForFunction('dedoz.state === "playing" && dedoz.frames >= 5',
                               {timeout: 90000, polling: 50});
      const showTime = await tab.evaluate('dedoz.showTime');
      const png = await tab.screenshot({encoding: 'base64'});
      assert.deepEqual(errors, [], `no console errors at ${from} ms`);
      assert.ok(showTime >= from && showTime < from + 10000,
                `the page plays from ${from} ms (shows ${showTime} ms)`);
      shots.push({from, showTime, png});
      await tab.close();
    }

    // The desktop's stills at the page's show times, the same size.
    const times = shots.map((shot) => Math.round(shot.showTime));
    const capture = [path.join(build, 'dedoz-capture'), '--size', `${WIDTH}x${HEIGHT}`,
                     '--stills', times.join(','), '--out', path.join(work, 'still.png')];
    const command = process.env.DISPLAY ? capture : ['tests/xvfb-run.sh', ...capture];
    execFileSync(command[0], command.slice(1), {stdio: 'ignore'});

    const analyser = await browser.newPage();
    const results = [];
    for (let i = 0; i < shots.length; ++i) {
      const still = fs.readFileSync(path.join(work, `still-${times[i]}.png`)).toString('base64');
      const web = await analyser.evaluate(measure, shots[i].png);
      const desktop = await analyser.evaluate(measure, still);
      results.push({at: times[i], web, desktop});
    }
    console.log('show: shares of the picture, page vs desktop\n' +
                results.map((r) => `  ${r.at} ms: ` + ['lit', 'red', 'coloured'].map(
                    (k) => `${k} ${r.web[k].toFixed(3)}/${r.desktop[k].toFixed(3)}`).join(', '))
                    .join('\n'));

    const [titles, floor, waves] = results;
    // Lit share within a factor 1.5 of the desktop's (the glow and line widths).
    for (const r of results)
      assert.ok(r.web.lit > r.desktop.lit / 1.5 && r.web.lit < r.desktop.lit * 1.5,
                `${r.at} ms: lit share ${r.web.lit} vs the desktop's ${r.desktop.lit}`);
    assert.ok(titles.desktop.red > 0.005 && titles.web.red > titles.desktop.red / 2,
              `the titles are red: ${titles.web.red} vs ${titles.desktop.red}`);
    assert.ok(floor.web.lit > 0.05, `the floor is lit: ${floor.web.lit}`);
    // The waves take their colours from the music's spectrum: a silent spectrum
    // leaves the floor grey.
    assert.ok(waves.desktop.coloured > 0.02 && waves.web.coloured > waves.desktop.coloured / 3,
              `the waves are coloured: ${waves.web.coloured} vs ${waves.desktop.coloured}`);
  } finally {
    await browser.close();
    await server.close();
    fs.rmSync(work, {recursive: true, force: true});
  }
});
