// The Windows player's keys and rules on the page: Tab's order and wraps, F1, two slots with their
// comment, code page 1252 typing, fields of several answers with accents ignored, answers kept per
// quiz (also for a renamed copy) or not at all when storage is refused, a stranger's title shown as
// text, and labels for every field.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { after, before, test } from 'node:test';
import { TOOL, WORK, answer, boxOf, buildPage, launch, openPage, quizFolder, shown } from './pages.mjs';

let browser;
before(async () => { browser = await launch(); });
after(() => browser.close());

// Eight questions of two slots revealing comments: two rows of the grid and a bit, on a green page.
const questions = ['Paris', 'Rome', 'Madrid', 'Berlin', 'Lisbonne', 'Vienne', 'Berne', 'Noël'].map((city, i) => `
[[questions]]
media = "q${(i % 6) + 1}.${[3, 4, 6].includes((i % 6) + 1) ? 'gif' : 'jpg'}"
answer = "${city}"
answer2 = "Europe"
comment = "Bravo pour ${city} !"`).join('\n');
const media = Object.fromEntries([1, 2, 3, 4, 5, 6].map((q) => {
  const name = `q${q}.${[3, 4, 6].includes(q) ? 'gif' : 'jpg'}`;
  return [name, `examples/drapeaux/${name}`];
}));
// 496 x 372: scaled in the x87's precision, 260 x 194 (195 in plain arithmetic).
media['q1.jpg'] = 'tests/win/media/p496x372.jpg';
const twoSlots = (title) => quizFolder(title.replace(/\W/g, '') || 'hostile', `kind = "picture"
title = ${JSON.stringify(title)}
author = "Tests"
description = "Deux réponses par question"
slots = 2
captions = ["Ville", "Continent"]
reveal = "comment"
background = "#00FF00"
codes = ["A", "B", "C", "D", "E", "F", "G", "H"]
${questions}
`, media);

test('Tab follows the fields, wraps to the first at the page\'s top, and Shift+Tab wraps back without scrolling', async () => {
  const page = await openPage(browser, buildPage(twoSlots('Villes'), 'villes').page, { height: 500 });
  await page.focus('#answer-3');
  await page.keyboard.press('Tab');
  assert.equal((await shown(page)).focus, 'answer-4');
  await page.keyboard.press('Tab');
  assert.equal((await shown(page)).focus, 'answer-5');
  await page.focus('#answer-16');
  const bottom = await page.evaluate(() => window.scrollY);
  assert.ok(bottom > 0);
  await page.keyboard.press('Tab');
  assert.deepEqual([(await shown(page)).focus, await page.evaluate(() => window.scrollY)], ['answer-1', 0]);
  await page.keyboard.press('Shift+Tab');
  assert.deepEqual([(await shown(page)).focus, await page.evaluate(() => window.scrollY)], ['answer-16', 0]);
  assert.equal(await page.getAttribute('#answer-4', 'aria-label'), 'Question 2, réponse 2');
  assert.equal(await page.getAttribute('#verdict-4', 'aria-live'), 'polite');
});

test('two slots: the comment shows only once both are exactly right, and goes with a wrong one', async () => {
  const page = await openPage(browser, path.join(WORK, 'villes.html'), { width: 1000 });
  const comment = () => page.textContent('#comment-1');
  await page.waitForFunction(() => document.getElementById('picture-1').complete);
  assert.deepEqual(await boxOf(page, 'picture-1'), [120, 53, 260, 194]);
  await answer(page, 1, 'paris');
  assert.deepEqual((await shown(page)).verdicts.slice(0, 2), ['BRAVO', '?']);
  assert.equal(await comment(), '');
  await answer(page, 2, 'europe ');  // right, but not exactly: nothing revealed
  assert.deepEqual([(await shown(page)).score, await comment()], [' 1 / 8', '']);
  await answer(page, 2, 'EUROPE', 'Enter');
  assert.equal(await comment(), 'Bravo pour Paris !');
  await answer(page, 1, 'Pari', 'Enter');
  assert.deepEqual([(await shown(page)).verdicts[0], await comment(), (await shown(page)).score], ['Quasiment', '', ' 0 / 8']);
  // Code page 1252: ë is a byte of its own, ē is not in the code page and reaches the matcher as '?'.
  await answer(page, 15, 'NOëL');
  await answer(page, 16, 'europe');
  assert.deepEqual((await shown(page)).verdicts.slice(14), ['BRAVO', 'BRAVO']);
  await answer(page, 15, 'Noēl');
  assert.equal((await shown(page)).verdicts[14], 'Quasiment');
  // A green page outlines its green verdicts.
  assert.notEqual(await page.$eval('#verdict-16', (v) => getComputedStyle(v).boxShadow), 'none');
});

test('F1 tries the field\'s text in every field not yet right, and the focus comes back', async () => {
  const page = await openPage(browser, buildPage(twoSlots('Villes bis'), 'villes-bis').page);
  await answer(page, 1, 'Paris');
  await answer(page, 3, 'Rome');
  await answer(page, 5, 'Lisbonne');
  await answer(page, 4, 'Europe', null);
  await page.keyboard.press('F1');
  const now = await shown(page);
  assert.equal(now.focus, 'answer-4');
  assert.deepEqual(now.values.slice(0, 6), ['Paris', 'Europe', 'Rome', 'Europe', 'Europe', 'Europe']);
  assert.deepEqual(now.verdicts.slice(0, 6), ['BRAVO', 'BRAVO', 'BRAVO', 'BRAVO', 'FAUX', 'BRAVO']);
  assert.equal(now.score, ' 2 / 8');
  assert.equal(await page.textContent('#comment-1'), 'Bravo pour Paris !');
});

test('answers are kept per quiz: a renamed copy gets them back, another quiz does not, refused storage only says so', async () => {
  const copy = path.join(WORK, 'copie de villes.html');
  fs.copyFileSync(path.join(WORK, 'villes.html'), copy);
  const context = await browser.newContext();
  let page = await openPage(browser, path.join(WORK, 'villes.html'), { context });
  await answer(page, 7, 'Madrid');
  page = await openPage(browser, copy, { context });
  assert.deepEqual([(await shown(page)).values[6], (await shown(page)).verdicts[6]], ['Madrid', 'FAUX']);
  page = await openPage(browser, path.join(WORK, 'villes-bis.html'), { context });
  assert.equal((await shown(page)).values[6], '');

  const refused = () => {
    Object.defineProperty(window, 'localStorage', { get() { throw new DOMException('refused', 'SecurityError'); } });
  };
  page = await openPage(browser, copy, { init: refused });
  assert.match(await page.textContent('#notices'), /ne seront pas gardées/);
  await answer(page, 1, 'Paris');
  assert.deepEqual([(await shown(page)).verdicts[0], page.errors], ['BRAVO', []]);
});

test('a stranger\'s title is shown as text and runs nothing', async () => {
  const hostile = '<img src=x onerror=alert(1)>';
  const page = await openPage(browser, buildPage(twoSlots(hostile), 'hostile').page);
  assert.equal(await page.textContent('#title'), hostile);
  assert.equal(await page.title(), hostile);
  assert.equal(await page.$$eval('#header img', (images) => images.length), 0);
  assert.deepEqual([page.dialogs, page.requests], [[], []]);
});

test('fields of several answers with accents ignored: right as in judge, and the closest near miss otherwise', async () => {
  const folder = quizFolder('aix', `kind = "text"\ntitle = "Villes"\naccents = "ignore"\ncodes = ["UN", "DEUX"]
[[questions]]\ntext = "Quelle ville ?"\nanswer = ["AIX EN PROVENCE", "AIX-EN-PROVENCE"]
[[questions]]\ntext = "Et celle-ci ?"\nanswer = "SAINT-ÉTIENNE"\n`);
  const page = await openPage(browser, buildPage(folder, 'aix').page);
  const expected = ['AIX EN PROVENCE|AIX-EN-PROVENCE', 'SAINT-ÉTIENNE'];
  const typings = ['aix-en-provence', 'Aix en Provence', 'saint-etienne', 'aix en provance', 'provence aix en',
    'aïx', 'Aix-en-Provence, France', 'ST-ÉTIENNE', 'SAINT-ETIENE', 'enneitet-tnias', 'SAINT', 'œuvre', ''];
  const lines = [];
  const onPage = [];
  for (const typed of typings) {
    for (const f of [1, 2]) {
      await page.fill(`#answer-${f}`, typed);
      await page.press(`#answer-${f}`, 'Enter');
      onPage.push((await shown(page)).verdicts[f - 1]);
      lines.push(`${expected[f - 1]}\t${typed}`);
    }
  }
  const judged = execFileSync(TOOL, ['judge', '--accents', 'ignore', '-'], { input: `${lines.join('\n')}\n`, encoding: 'utf8' });
  assert.deepEqual(onPage, judged.split('\n').slice(0, lines.length));
  assert.deepEqual([onPage[0], onPage[2], onPage[5]], ['BRAVO', 'BRAVO', 'BRAVO']);
  assert.ok(new Set(onPage).size >= 6, `verdicts seen: ${[...new Set(onPage)]}`);
});
