import {serve, launch, pageWithErrors} from './browser.mjs';
const server = await serve('build-web/page');
const browser = await launch();
for (const from of [3000, 20000, 67000]) {
  const {page, errors} = await pageWithErrors(browser);
  await page.setViewport({width: 640, height: 480});
  await page.goto(`${server.url}/index.html#autostart&from=${from}`);
  await page.waitForFunction('dedoz.state === "playing" && dedoz.frames >= 1', {timeout: 90000, polling: 20});
  const a = await page.evaluate('dedoz.showTime');
  await page.screenshot({path: `/tmp/web-${from}.png`});
  const b = await page.evaluate('JSON.stringify([dedoz.showTime, dedoz.frames])');
  console.log(from, a, b, errors);
  await page.close();
}
await browser.close(); await server.close();
