// How soon a large quiz's page shows in headless Chromium: a 90-question picture quiz (answer
// pictures, answers restored) against a 1-question one, opened from its file 9 times each; medians of
// the first contentful paint and of the moment every question is drawn and judged.
// Usage: TRIVO_MAKE=build/native/trivo-make node web/tests/first_paint_bench.mjs
import { buildPage, launch, openPage, quizFolder } from './pages.mjs';

const ROUNDS = 9;
const pictures = ['q1.jpg', 'q2.jpg', 'q3.gif', 'q4.gif', 'q5.jpg', 'q6.gif'];

function pictureQuiz(name, count) {
  const media = {};
  let questions = '';
  for (let q = 1; q <= count; q++) {
    const picture = pictures[(q - 1) % 6];
    const answerPicture = `a${((q - 1) % 6) + 1}.jpg`;
    media[picture] = `examples/drapeaux/${picture}`;
    media[answerPicture] = `examples/drapeaux/${answerPicture}`;
    questions += `\n[[questions]]\nmedia = "${picture}"\nanswer = "Pays ${q}"\nanswer_picture = "${answerPicture}"\n`;
  }
  const codes = JSON.stringify(Array.from({ length: count }, (_, k) => `C${k + 1}`));
  return quizFolder(name, `kind = "picture"\ntitle = "Banc d'essai"\nauthor = "Trivo"\ndescription = "${count} questions"\n` +
    `slots = 1\nreveal = "picture"\ncodes = ${codes}\n${questions}`, media);
}

// Records when the page says it is ready; the paint timings are the browser's own.
const recordReady = () => {
  new MutationObserver(() => {
    if (document.body && document.body.dataset.ready) window.readyAt = performance.now();
  }).observe(document, { attributes: true, subtree: true, attributeFilter: ['data-ready'] });
};

const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];

const browser = await launch();
for (const count of [1, 90]) {
  const { page: file, report } = buildPage(pictureQuiz(`bench-${count}`, count), `bench-${count}`);
  const context = await browser.newContext({ viewport: { width: 910, height: 700 } });
  // Half the answers typed once, so that every later opening restores and judges them.
  const first = await openPage(browser, file, { context });
  for (let f = 1; f <= count; f += 2) await first.fill(`#answer-${f}`, `pays ${f}`);
  await first.close();
  const paints = [];
  const ready = [];
  for (let round = 0; round < ROUNDS; round++) {
    const page = await openPage(browser, file, { context, init: recordReady });
    paints.push(await page.evaluate(() => performance.getEntriesByName('first-contentful-paint')[0].startTime));
    ready.push(await page.evaluate(() => window.readyAt));
    await page.close();
  }
  console.log(`${count} question(s): ${report.trim()}`);
  console.log(`  first contentful paint: median ${median(paints).toFixed(1)} ms; drawn and judged: median ` +
    `${median(ready).toFixed(1)} ms (${ROUNDS} openings)`);
  await context.close();
}
await browser.close();
