// What the page tests share: trivo-make building pages into a private folder, Debian's chromium
// opening them from files with every request outside the page refused, and a pupil's typing.
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { chromium } from 'playwright-core';

export const SOURCE = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../..');
export const TOOL = process.env.TRIVO_MAKE || path.join(SOURCE, 'build/native/trivo-make');
export const WORK = fs.mkdtempSync(path.join(os.tmpdir(), 'trivo-web-'));
process.on('exit', () => fs.rmSync(WORK, { recursive: true, force: true }));

// As this machine runs Chromium: its background connections would only be refused.
const CHROMIUM_FLAGS = ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync',
  '--autoplay-policy=no-user-gesture-required'];

export function launch() {
  return chromium.launch({ executablePath: process.env.TRIVO_CHROMIUM || '/usr/bin/chromium', args: CHROMIUM_FLAGS });
}

// Builds a quiz folder (or program) into WORK/NAME.html; returns the page's path and build's report.
export function buildPage(source, name) {
  const page = path.join(WORK, `${name}.html`);
  const report = execFileSync(TOOL, ['build', source, '-o', page], { encoding: 'utf8', stdio: ['ignore', 'pipe', 'pipe'] });
  return { page, report };
}

// A quiz folder written from quiz.toml text, with the sample media it names copied in.
export function quizFolder(name, toml, media = {}) {
  const folder = path.join(WORK, name);
  fs.mkdirSync(folder, { recursive: true });
  fs.writeFileSync(path.join(folder, 'quiz.toml'), toml);
  for (const [to, from] of Object.entries(media)) fs.copyFileSync(path.join(SOURCE, from), path.join(folder, to));
  return folder;
}

// Opens a page from its file in a fresh context (or the one given), offline, recording every request
// that is not the page's own file or its memory, and every dialog.
export async function openPage(browser, file, { context, width = 910, height = 700, init } = {}) {
  const own = context || (await browser.newContext({ viewport: { width, height } }));
  await own.setOffline(true);
  const page = await own.newPage();
  page.requests = [];
  page.dialogs = [];
  page.errors = [];
  page.on('request', (request) => {
    if (!/^(file|blob):/.test(request.url())) page.requests.push(request.url());
  });
  page.on('dialog', (dialog) => { page.dialogs.push(dialog.message()); dialog.dismiss(); });
  page.on('pageerror', (error) => page.errors.push(error.message));
  if (init) await page.addInitScript(init);
  await page.goto(`file://${file}`);
  await page.waitForSelector('body[data-ready]', { timeout: 15000 });
  return page;
}

// What the page shows: every field's text and verdict, the score and the code.
export function shown(page) {
  return page.evaluate(() => {
    const fields = [...document.querySelectorAll('input.answer')];
    return {
      values: fields.map((field) => field.value),
      verdicts: fields.map((field) => document.getElementById(field.id.replace('answer', 'verdict')).textContent),
      score: document.getElementById('score').textContent,
      code: document.getElementById('code').textContent,
      focus: document.activeElement.id,
    };
  });
}

// Types into field f as a pupil does: a click, the text, then the key that leaves it.
export async function answer(page, f, text, key = 'Tab') {
  await page.click(`#answer-${f}`, { clickCount: 3 });
  await page.keyboard.type(text);
  if (key) await page.keyboard.press(key);
}

// A control's box in page pixels, relative to the page's top left inside its border.
export function boxOf(page, id) {
  return page.evaluate((target) => {
    const area = document.getElementById('page');
    const outer = area.getBoundingClientRect();
    const box = document.getElementById(target).getBoundingClientRect();
    return [box.left - outer.left - area.clientLeft, box.top - outer.top - area.clientTop, box.width, box.height];
  }, id);
}

// The answers of a sample's quiz.toml, in order.
export function sampleAnswers(name) {
  const toml = fs.readFileSync(path.join(SOURCE, 'examples', name, 'quiz.toml'), 'utf8');
  return [...toml.matchAll(/^answer = "(.*)"$/gm)].map((m) => m[1]);
}
