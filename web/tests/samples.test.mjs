// Each sample quiz built as a page and played as a pupil would, offline: verdicts, reveals, score and
// code as the Windows player shows them, the controls where its page puts them, the media playing,
// the answers kept across a reload, and no request leaving the page.
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import path from 'node:path';
import { after, before, test } from 'node:test';
import { SOURCE, TOOL, WORK, answer, boxOf, buildPage, launch, openPage, sampleAnswers, shown } from './pages.mjs';

let browser;
before(async () => { browser = await launch(); });
after(() => browser.close());

const sample = (name) => buildPage(path.join(SOURCE, 'examples', name), name).page;

test('drapeaux: a picture quiz judged, revealed and scored as on Windows, and kept across a reload', async () => {
  const file = sample('drapeaux');
  const page = await openPage(browser, file);
  assert.equal(await page.textContent('#title'), 'Drapeaux du monde');
  // Question 1's controls at the places of the Windows page (one slot, answer pictures).
  assert.deepEqual(await boxOf(page, 'answer-1'), [30, 290, 260, 20]);
  assert.deepEqual(await boxOf(page, 'verdict-1'), [30, 309, 260, 21]);
  await answer(page, 1, 'France');
  await answer(page, 2, 'italie');
  await answer(page, 3, 'Alemagne');
  await answer(page, 4, 'Japon ');  // right, but a stray space reveals nothing
  let now = await shown(page);
  assert.deepEqual(now.verdicts, ['BRAVO', 'BRAVO', 'Quasiment', 'BRAVO', '?', '?']);
  assert.equal(now.score, ' 3 / 6');
  assert.equal(now.code, 'ORIFLA');
  await page.waitForFunction(() => document.getElementById('picture-2').alt.startsWith('Réponse'));
  // The answer picture (260 x 200, kept so) centred 10 pixels left of the question picture's box.
  assert.deepEqual(await boxOf(page, 'picture-1'), [20, 50, 260, 200]);
  assert.match(await page.getAttribute('#picture-4', 'alt'), /^Image/);

  await page.reload();
  await page.waitForSelector('body[data-ready]');
  now = await shown(page);
  assert.deepEqual(now.values.slice(0, 4), ['France', 'italie', 'Alemagne', 'Japon ']);
  assert.deepEqual(now.verdicts.slice(0, 4), ['BRAVO', 'BRAVO', 'Quasiment', 'BRAVO']);
  assert.equal(now.score, ' 3 / 6');
  await page.waitForFunction(() => document.getElementById('picture-1').alt.startsWith('Réponse'));
  assert.deepEqual([page.requests, page.dialogs, page.errors], [[], [], []]);
});

test('capitales: a text quiz played to the end; every answer right gives the last code', async () => {
  const page = await openPage(browser, sample('capitales'));
  assert.deepEqual(await boxOf(page, 'question-1'), [50, 10, 550, 20]);
  assert.deepEqual(await boxOf(page, 'answer-1'), [615, 10, 100, 20]);
  assert.deepEqual(await boxOf(page, 'verdict-1'), [720, 9, 90, 21]);
  assert.equal(await page.textContent('#code'), '      ');
  const answers = sampleAnswers('capitales');
  for (const [i, text] of answers.entries()) await answer(page, i + 1, text.toLowerCase());
  const now = await shown(page);
  assert.ok(now.verdicts.every((verdict) => verdict === 'BRAVO'), now.verdicts.join());
  assert.equal(now.score, ` ${answers.length} / ${answers.length}`);
  assert.equal(now.code, 'EXPERT');
  assert.equal(await page.$eval('#verdict-1', (v) => getComputedStyle(v).backgroundColor), 'rgb(0, 255, 0)');
  assert.deepEqual(page.requests, []);
});

test('animaux: the play and stop buttons play each sound from the page, one at a time', async () => {
  const page = await openPage(browser, sample('animaux'));
  await page.click('#play-2');
  await page.waitForFunction(() => document.getElementById('sound').duration > 0);
  const playing = await page.$eval('#sound', (sound) => [sound.src.startsWith('blob:'), sound.duration]);
  assert.equal(playing[0], true);
  await page.click('#play-1');
  await page.waitForFunction((before) => document.getElementById('sound').duration !== before, playing[1]);
  await page.click('#stop-5');
  assert.equal(await page.$eval('#sound', (sound) => sound.hasAttribute('src')), false);
  await answer(page, 1, 'lion');
  assert.equal((await shown(page)).verdicts[0], 'BRAVO');
  assert.deepEqual(page.requests, []);
});

test('formes: each film converted at build time plays in its box; any stop button stops them all', async () => {
  const page = await openPage(browser, sample('formes'));
  assert.equal(await page.$eval('#film-3', (film) => film.tagName), 'VIDEO');
  await page.waitForFunction(() => document.getElementById('film-3').duration > 2);
  await page.click('#play-3');
  await page.waitForFunction(() => document.getElementById('film-3').currentTime > 0);
  await page.click('#stop-1');
  assert.deepEqual(await page.$eval('#film-3', (film) => [film.paused, film.currentTime]), [true, 0]);
  await answer(page, 3, 'LOSANGE');
  assert.equal((await shown(page)).score, ' 1 / 4');
  assert.deepEqual(page.requests, []);
});

test('without ffmpeg the films stay AVI and each film box links its film', async () => {
  const file = path.join(WORK, 'formes-sans-ffmpeg.html');
  const report = spawnSync(TOOL, ['build', path.join(SOURCE, 'examples/formes'), '-o', file],
    { encoding: 'utf8', env: { ...process.env, PATH: path.join(WORK, 'no-programs') } });
  assert.equal(report.status, 0, report.stderr);
  assert.match(report.stderr, /ffmpeg is not installed/);
  const page = await openPage(browser, file);
  assert.deepEqual(await page.$eval('#film-2', (film) => [film.tagName, film.href.slice(0, 5), film.download]),
    ['A', 'blob:', 'film-2.avi']);
});

test('at 360 pixels the questions flow: nothing scrolls sideways and every field stays usable', async () => {
  for (const name of ['drapeaux', 'capitales', 'animaux', 'formes']) {
    const page = await openPage(browser, path.join(path.dirname(sample(name)), `${name}.html`), { width: 360 });
    const fit = await page.evaluate(() => ({
      wide: document.documentElement.scrollWidth,
      fields: [...document.querySelectorAll('input.answer')].map((f) => [f.getBoundingClientRect().left, f.getBoundingClientRect().right]),
    }));
    assert.ok(fit.wide <= 360, `${name}: ${fit.wide} pixels wide`);
    for (const [left, right] of fit.fields) assert.ok(left >= 0 && right <= 360 && right - left >= 120, `${name}: ${left}-${right}`);
    await page.context().close();
  }
});
