// The page's WebAssembly matcher, run in Chromium, against the native one (trivo-make judge) and
// against the verdicts of the native matcher's own test table, then on thousands of near misses.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { after, before, test } from 'node:test';
import { SOURCE, TOOL, buildPage, launch, openPage } from './pages.mjs';

// The bytes of a run of adjacent C string literals ("yade lid\xE9" "e").
function cBytes(literals) {
  const bytes = [];
  for (const [, body] of literals.matchAll(/"((?:[^"\\]|\\.)*)"/g)) {
    for (let i = 0; i < body.length; i++) {
      if (body[i] !== '\\') { bytes.push(body.charCodeAt(i)); continue; }
      const next = body[++i];
      if (next === 'x') {
        const hex = body.slice(i + 1).match(/^[0-9a-fA-F]+/)[0];
        bytes.push(parseInt(hex, 16));
        i += hex.length;
      } else {
        bytes.push({ t: 9, n: 10, r: 13, 0: 0 }[next] ?? next.charCodeAt(0));
      }
    }
  }
  return bytes;
}

// Every {expected, typed, verdict} row of the matcher's tests.
function tableCases() {
  const source = fs.readFileSync(path.join(SOURCE, 'tests/native/matcher_test.cpp'), 'latin1');
  const literal = '((?:"(?:[^"\\\\]|\\\\.)*"\\s*)+)';
  const row = new RegExp(`\\{\\s*${literal},\\s*${literal},\\s*${literal}\\}`, 'g');
  return [...source.matchAll(row)].map((m) => m.slice(1, 4).map(cBytes));
}

// Near misses of the table's answers: letters dropped, doubled, swapped, changed, cut, padded.
function nearMisses(words, count) {
  let seed = 19;
  // mulberry32: the same pairs every run.
  const random = (n) => {
    seed = (seed + 0x6d2b79f5) | 0;
    let t = Math.imul(seed ^ (seed >>> 15), 1 | seed);
    t = (t + Math.imul(t ^ (t >>> 7), 61 | t)) ^ t;
    return ((t ^ (t >>> 14)) >>> 0) % n;
  };
  const letters = 'aeiouAEIOUrstlnPARIS éèÉçœ';
  const pairs = [];
  while (pairs.length < count) {
    const expected = words[random(words.length)];
    let typed = expected.split('');
    for (let edits = random(4); edits > 0; edits--) {
      const at = random(typed.length + 1);
      const change = random(5);
      if (change === 0) typed.splice(at, 1);
      else if (change === 1) typed.splice(at, 0, letters[random(letters.length)]);
      else if (change === 2 && at + 1 < typed.length) [typed[at], typed[at + 1]] = [typed[at + 1], typed[at]];
      else if (change === 3) typed[at] = letters[random(letters.length)];
      else typed = typed.slice(0, Math.max(1, typed.length - random(5)));
    }
    pairs.push([expected, (random(3) === 0 ? '  ' : '') + typed.join('').toLowerCase()]);
  }
  return pairs;
}

let browser;
let page;
before(async () => {
  browser = await launch();
  page = await openPage(browser, buildPage(path.join(SOURCE, 'examples/capitales'), 'matcher').page);
});
after(() => browser.close());

// The verdicts of the page's own module, instantiated again from the bytes the page carries, for
// pairs of texts given as code page 1252 bytes or as strings (made bytes with the browser's own code
// page 1252, which Node may lack); with each pair as strings.
function pageVerdicts(pairs) {
  return page.evaluate(async (cases) => {
    const text = atob(document.getElementById('trivo-wasm').textContent.trim());
    const { instance } = await WebAssembly.instantiate(Uint8Array.from(text, (c) => c.charCodeAt(0)), {});
    const trivo = instance.exports;
    trivo._initialize();
    const decoder = new TextDecoder('windows-1252');
    const byteOf = new Map([...Array(256).keys()].map((b) => [decoder.decode(Uint8Array.of(b)), b]));
    const bytes = (value) => (typeof value === 'string' ? [...value].map((c) => byteOf.get(c)) : value);
    const put = (values) => {
      const at = trivo.malloc(values.length + 1);
      new Uint8Array(trivo.memory.buffer).set([...values, 0], at);
      return at;
    };
    return cases.map((pair) => {
      const [expected, typed] = pair.map(bytes);
      const verdict = trivo.trivoMatch(put(expected), put(typed));
      const memory = new Uint8Array(trivo.memory.buffer);
      let end = verdict;
      while (memory[end]) end++;
      return [decoder.decode(memory.subarray(verdict, end)), ...[expected, typed].map((b) => decoder.decode(Uint8Array.from(b)))];
    });
  }, pairs);
}

test('the whole matcher test table: the page\'s verdicts are the table\'s and the native tool\'s', async () => {
  const cases = tableCases();
  assert.ok(cases.length >= 30, `${cases.length} rows read`);
  const judged = await pageVerdicts(cases.map(([expected, typed]) => [expected, typed]));
  const wanted = await pageVerdicts(cases.map(([, , verdict]) => [verdict, []]));
  judged.forEach(([verdict, expected, typed], i) => {
    const native = execFileSync(TOOL, ['judge', expected, typed], { encoding: 'utf8' }).trim();
    const table = wanted[i][1];
    assert.deepEqual([verdict, native], [table, table], `expected ${JSON.stringify(expected)}, typed ${JSON.stringify(typed)}`);
  });
});

test('3000 near misses judged alike by the page and by the native tool', async () => {
  const words = ['Paris', 'Tour Eiffel', 'Napoléon', 'Très grand château', 'ABCDEFGHIJKLMNOP', 'Lisbonne', 'Noël',
    'La Joconde', 'Versailles', 'Buenos Aires', 'Œuvre', 'ÉTÉ'];
  const pairs = nearMisses(words, 3000);
  const verdicts = (await pageVerdicts(pairs)).map(([verdict]) => verdict);
  const list = pairs.map(([e, t]) => `${e}\t${t}`).join('\n') + '\n';
  const native = execFileSync(TOOL, ['judge', '--tsv', '-'], { input: list, encoding: 'utf8' })
    .trimEnd().split('\n').map((line) => line.split('\t')[2]);
  assert.equal(native.length, pairs.length);
  const differing = pairs.filter((pair, i) => verdicts[i] !== native[i]);
  assert.deepEqual(differing, []);
  assert.ok(new Set(native).size >= 8, `verdicts seen: ${[...new Set(native)]}`);
});
