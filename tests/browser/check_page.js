// Opens a score page in Debian's chromium and checks the marked row: the player's name shown as text
// (nothing in it ran as script) and the score beside it. A screenshot of the page is kept.
//   node check_page.js URL NAME SCORE SCREENSHOT.png
// Exit 0 when the page is as expected, 1 with the reason on stderr otherwise, 2 on bad arguments.
'use strict';
const { chromium } = require('playwright-core');

async function main() {
  const [url, name, score, screenshot] = process.argv.slice(2);
  if (!url || name === undefined || !score || !screenshot) {
    console.error('usage: check_page.js URL NAME SCORE SCREENSHOT');
    return 2;
  }
  const browser = await chromium.launch({
    executablePath: process.env.MARSHWADE_CHROMIUM || '/usr/bin/chromium',
    headless: true,
    // CI runs as root, where chromium's sandbox cannot start.
    args: ['--no-sandbox', '--disable-gpu', '--disable-dev-shm-usage'],
    timeout: 60000,
  });
  try {
    const page = await browser.newPage({ viewport: { width: 1000, height: 800 } });
    const errors = [];
    page.on('pageerror', (e) => errors.push(String(e)));
    const response = await page.goto(url, { waitUntil: 'load', timeout: 30000 });
    await page.screenshot({ path: screenshot, fullPage: true });
    const problems = [];
    if (!response || response.status() !== 200) problems.push(`status ${response && response.status()}`);
    const row = await page.$('tr#you');
    if (!row) {
      problems.push('no marked row');
    } else {
      const shownName = await row.$eval('td.name', (td) => td.textContent);
      const shownScore = await row.$eval('td.score', (td) => td.textContent);
      const scripts = await row.$$eval('script', (s) => s.length);
      if (shownName !== name) problems.push(`name ${JSON.stringify(shownName)}, not ${JSON.stringify(name)}`);
      if (shownScore.trim() !== score) problems.push(`score ${JSON.stringify(shownScore)}, not ${score}`);
      if (scripts !== 0) problems.push(`${scripts} script element(s) in the row`);
      if (!(await row.isVisible())) problems.push('marked row not visible');
    }
    const pwned = await page.evaluate(() => typeof window.__pwned);
    if (pwned !== 'undefined') problems.push('a script from the name ran');
    if (errors.length) problems.push(`page errors: ${errors.join('; ')}`);
    if (problems.length) {
      console.error(`check_page: ${url}: ${problems.join(', ')}`);
      return 1;
    }
    console.log(`check_page: ${url}: the marked row shows ${JSON.stringify(name)} with ${score}`);
    return 0;
  } finally {
    await browser.close();
  }
}

main().then((code) => process.exit(code), (e) => {
  console.error(`check_page: ${e && e.stack ? e.stack : e}`);
  process.exit(1);
});
