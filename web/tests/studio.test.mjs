// Trivo Studio in Debian's chromium: a teacher's whole path from an empty workspace to both builds,
// and the author's work kept through another program's change, a second tab and a stopped studio.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { after, before, test } from 'node:test';
import { SOURCE, TOOL, WORK, launch } from './pages.mjs';
import { SHOTS, startStudio } from './studio.mjs';

let browser;
before(async () => { browser = await launch(); fs.mkdirSync(SHOTS, { recursive: true }); });
after(() => browser.close());

async function openStudio(studio, context) {
  const page = await context.newPage();
  page.errors = [];
  page.on('pageerror', (error) => page.errors.push(error.message));
  await page.goto(studio.url);
  await page.getByRole('heading', { name: 'Vos quiz' }).waitFor();
  return page;
}

// A PNG picture far larger than the player's box, drawn by the browser, dropped on a field's zone as a
// file dragged from the desktop is.
async function dropPng(page, label) {
  const zone = page.getByLabel(label).locator('xpath=..');
  await zone.evaluate(async (node) => {
    const canvas = document.createElement('canvas');
    canvas.width = 800;
    canvas.height = 600;
    const context = canvas.getContext('2d');
    context.fillStyle = '#0a7d32';
    context.fillRect(0, 0, 800, 600);
    context.fillStyle = '#f2c200';
    context.fillRect(0, 200, 800, 200);
    const blob = await new Promise((done) => canvas.toBlob(done, 'image/png'));
    const transfer = new DataTransfer();
    transfer.items.add(new File([blob], 'Drapeau vert.png', { type: 'image/png' }));
    node.dispatchEvent(new DragEvent('drop', { dataTransfer: transfer, bubbles: true, cancelable: true }));
  });
}

const problemsOf = (page, field) => page.locator(`#problems-${field} li`);
const saved = (page) => page.getByRole('status').filter({ hasText: /^Enregistré/ }).waitFor();

test('a teacher makes a picture quiz from an empty workspace, previews it and builds both files', async (t) => {
  const studio = await startStudio('teacher');
  t.after(() => studio.stop());  // also when a step fails, so that the run does not wait on it
  const context = await browser.newContext({ viewport: { width: 1280, height: 900 }, acceptDownloads: true });
  const page = await openStudio(studio, context);
  assert.equal(new URL(page.url()).search, '', 'the token leaves the address bar');
  assert.match(await page.textContent('main'), /Aucun quiz/);

  await page.getByRole('button', { name: 'Nouveau quiz' }).click();
  await page.getByLabel('Nom du dossier').fill('afrique');
  await page.getByLabel('Genre').selectOption({ label: 'Images' });
  await page.getByLabel('Réponses par question').selectOption('1');
  await page.getByRole('button', { name: 'Créer' }).click();
  await page.getByLabel('Titre').fill("Drapeaux d'Afrique");
  await saved(page);

  // The starter's three questions become the teacher's: two deleted, two added.
  await page.getByRole('button', { name: 'Supprimer la question 3' }).click();
  await page.getByRole('button', { name: 'Supprimer la question 2' }).click();
  await page.getByRole('button', { name: 'Ajouter une question' }).click();
  await page.getByRole('button', { name: 'Ajouter une question' }).click();
  await page.getByLabel('Ce que montre une question résolue').selectOption({ label: 'Rien' });
  await page.getByRole('button', { name: 'Retirer : Question 1, image de réponse' }).click();
  await dropPng(page, 'Question 1, média');
  // Each upload's note stands beside its field; the status line may say the same until the save.
  const noteOf = (number, text) => page.getByRole('region', { name: `Question ${number}` }).locator('p.note', { hasText: text }).waitFor();
  await noteOf(1, /Image convertie en JPEG de 260 × 195 pixels/);
  await page.getByLabel('Question 2, média').setInputFiles(path.join(SOURCE, 'examples/drapeaux/q1.jpg'));
  await noteOf(2, /q1\.jpg est enregistré/);
  await page.getByLabel('Question 3, média').setInputFiles(path.join(SOURCE, 'examples/drapeaux/q3.gif'));
  await noteOf(3, /q3\.gif est enregistré/);
  const media = fs.readdirSync(path.join(studio.workspace, 'afrique/media'));
  assert.ok(media.includes('Drapeau-vert.jpg') && media.includes('q1.jpg') && media.includes('q3.gif'), media.join(' '));
  // The PNG is kept as the player shows it: a JPEG within the 260-pixel box.
  const jpeg = fs.readFileSync(path.join(studio.workspace, 'afrique/media/Drapeau-vert.jpg'));
  assert.deepEqual([...jpeg.subarray(0, 3)], [0xff, 0xd8, 0xff]);

  // An answer typed with a capital accent: its warning beside the field and in the list, then fixed.
  await page.getByLabel('Question 1, réponse 1').fill('Éthiopie');
  await problemsOf(page, 'q-1-answer').filter({ hasText: /Avertissement.*lettres accentuées/ }).waitFor();
  const listed = page.getByRole('list', { name: 'Problèmes' }).getByRole('button', { name: /Éthiopie/ });
  await listed.waitFor();
  await page.getByLabel('Question 1, réponse 1').blur();
  await page.getByLabel('Question 1, réponse 1').evaluate((field) => field.scrollIntoView({ block: 'center' }));
  await page.screenshot({ path: path.join(SHOTS, 'studio-editor-warning.png') });
  await listed.click();
  assert.equal(await page.evaluate(() => document.activeElement.id), 'f-q-1-answer', 'the list item takes the cursor to its field');
  await page.getByLabel('Question 1, réponse 1').fill('éthiopie');
  await page.getByLabel('Question 2, réponse 1').fill('France');
  await page.getByLabel('Question 3, réponse 1').fill('Allemagne');
  for (const k of [1, 2, 3]) await page.getByLabel(`Code pour un score de ${k}`).fill(['SAVANE', 'BAOBAB', 'ZEBRE'][k - 1]);
  await page.getByRole('heading', { name: /^0 erreur, 0 avertissement/ }).waitFor();
  assert.equal(await problemsOf(page, 'q-1-answer').filter({ hasText: 'Avertissement' }).count(), 0);

  // The preview is the quiz's web page: the typed answers get the pupils' verdicts.
  await page.locator('iframe[title="Aperçu"][data-loaded]').waitFor();
  const preview = page.frameLocator('iframe[title="Aperçu"]');
  await preview.locator('body[data-ready]').waitFor({ timeout: 15000 });
  await preview.locator('#answer-2').fill('france');
  await preview.locator('#answer-2').press('Tab');
  await preview.locator('#answer-3').fill('Allemange');
  await preview.locator('#answer-3').press('Tab');
  assert.equal(await preview.locator('#verdict-2').textContent(), 'BRAVO');
  assert.equal(await preview.locator('#verdict-3').textContent(), 'Anagramme');
  await page.locator('iframe[title="Aperçu"]').scrollIntoViewIfNeeded();
  await page.screenshot({ path: path.join(SHOTS, 'studio-preview.png') });

  // Both builds, written into the quiz folder and offered for download.
  await page.getByRole('button', { name: 'Fabriquer le programme' }).click();
  const download = page.waitForEvent('download');
  await page.getByRole('link', { name: 'Télécharger afrique.exe' }).click();
  const program = path.join(studio.workspace, 'afrique/afrique.exe');
  assert.deepEqual(fs.readFileSync(await (await download).path()), fs.readFileSync(program));
  await page.getByRole('button', { name: 'Fabriquer la page web' }).click();
  await page.getByRole('link', { name: 'Télécharger afrique.html' }).waitFor();
  assert.match(fs.readFileSync(path.join(studio.workspace, 'afrique/afrique.html'), 'utf8'), /^<!DOCTYPE html>/);

  // The folder is still an ordinary quiz folder, and the program carries what the teacher wrote.
  // check as an English-speaking author runs it: the studio's French is its own.
  const english = { ...process.env, LC_ALL: 'C.UTF-8', LANGUAGE: '' };
  const checked = execFileSync(TOOL, ['check', path.join(studio.workspace, 'afrique')], { encoding: 'utf8', env: english });
  assert.match(checked, /0 errors, 0 warnings.*picture quiz, 3 questions/);
  const dumped = path.join(WORK, 'afrique-dumped');
  execFileSync(TOOL, ['dump', program, '-o', dumped], { encoding: 'utf8' });
  const toml = fs.readFileSync(path.join(dumped, 'quiz.toml'), 'utf8');
  for (const text of ["Drapeaux d'Afrique", 'éthiopie', 'France', 'Allemagne', 'ZEBRE']) assert.ok(toml.includes(text), text);

  await page.getByRole('link', { name: '← Vos quiz' }).click();
  const row = page.getByRole('row', { name: /Drapeaux d'Afrique/ });
  await row.waitFor();
  assert.match(await row.textContent(), /afriqueImages3.*prêt/);
  await page.screenshot({ path: path.join(SHOTS, 'studio-home.png') });
  // The program opened again, as dump unpacks it, into a folder of its own.
  await page.getByLabel('Ouvrir un programme de quiz').setInputFiles(program);
  await page.getByLabel('Question 3, réponse 1').waitFor();
  assert.equal(await page.getByLabel('Titre').inputValue(), "Drapeaux d'Afrique");
  assert.equal(await page.getByLabel('Question 1, réponse 1').inputValue(), 'éthiopie');
  assert.ok(fs.existsSync(path.join(studio.workspace, 'afrique-2/quiz.toml')));
  assert.deepEqual(page.errors, []);
  await page.getByRole('button', { name: 'Quitter' }).click();
  await page.getByRole('heading', { name: 'Trivo Studio est arrêté.' }).waitFor();
  await new Promise((done) => (studio.child.exitCode !== null ? done() : studio.child.on('exit', done)));
  assert.equal(studio.child.exitCode, 0);
  await context.close();
});

test('nothing the author wrote is lost: another program, a second tab, a stopped studio', async (t) => {
  // Without a display, so that the trial below cannot open and has to say why.
  const { DISPLAY, ...withoutDisplay } = process.env;
  const studio = await startStudio('keeping', withoutDisplay);
  t.after(() => studio.stop());
  const folder = path.join(studio.workspace, 'capitales');
  execFileSync(TOOL, ['new', folder, '--kind', 'text']);
  const original = fs.readFileSync(path.join(folder, 'quiz.toml'), 'utf8');
  const context = await browser.newContext({ viewport: { width: 1280, height: 900 } });
  const first = await openStudio(studio, context);
  await first.goto(`${studio.origin}/#/quiz/capitales`);
  await first.getByLabel('Titre').fill('Capitales');
  // The starter was written by trivo-make new, not by the studio: kept before the first save over it.
  await first.getByRole('status').filter({ hasText: /gardé sous quiz\.toml\.bak/ }).waitFor();
  assert.equal(fs.readFileSync(path.join(folder, 'quiz.toml.bak'), 'utf8'), original);

  // A second tab saves; the first tab's next change is held until its author chooses.
  const second = await context.newPage();
  await second.goto(first.url());
  await second.getByLabel('Auteur').fill('Mme Martin');
  await saved(second);
  await first.getByLabel('Question 1, réponse 1').fill('PARIS');
  await first.getByRole('alertdialog').waitFor();
  assert.match(fs.readFileSync(path.join(folder, 'quiz.toml'), 'utf8'), /author = "Mme Martin"/);
  await first.getByRole('button', { name: 'Garder ma version' }).click();
  await saved(first);
  assert.match(fs.readFileSync(path.join(folder, 'quiz.toml'), 'utf8'), /answer = "PARIS"/);

  // Another program changes quiz.toml: detected before the next save; its version can be taken.
  const changed = fs.readFileSync(path.join(folder, 'quiz.toml'), 'utf8').replace('title = "Capitales"', 'title = "Capitales du monde"');
  fs.writeFileSync(path.join(folder, 'quiz.toml'), changed);
  await first.getByLabel('Explication').fill('Tapez la capitale.');
  await first.getByRole('alertdialog').waitFor();
  assert.equal(fs.readFileSync(path.join(folder, 'quiz.toml'), 'utf8'), changed);
  await first.getByRole('button', { name: 'Reprendre celle du fichier' }).click();
  await first.waitForFunction(() => document.getElementById('f-title').value === 'Capitales du monde');
  assert.equal(fs.readdirSync(folder).filter((name) => name.startsWith('quiz.toml.bak')).length, 1);

  // A trial that cannot open says why, as a build does.
  await first.getByRole('button', { name: 'Essayer' }).click();
  await first.getByRole('status').filter({ hasText: 'L’essai n’a pas pu s’ouvrir.' }).waitFor();
  assert.match(await first.locator('#build-result pre').textContent(), /DISPLAY/);

  // A save that cannot happen says so and keeps the edit in the page.
  await studio.stop();
  assert.equal(studio.child.exitCode, 0, 'Ctrl+C stops the studio cleanly');
  await first.getByLabel('Titre').fill('Capitales, sans serveur');
  await first.getByRole('status').filter({ hasText: /Échec de l’enregistrement.*restent dans cette page/ }).waitFor();
  assert.equal(await first.getByLabel('Titre').inputValue(), 'Capitales, sans serveur');
  await context.close();
});
