// Nobody but the browser that opened the studio's address gets in, and nothing the browser names
// leaves the workspace: each case is the request the studio's own page makes, changed in the one
// thing its guard looks at, so that each passes only while that guard holds.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import net from 'node:net';
import path from 'node:path';
import { after, before, test } from 'node:test';
import { execFileSync } from 'node:child_process';
import { TOOL } from './pages.mjs';
import { browserHeaders, request, startStudio } from './studio.mjs';

let studio;
before(async () => {
  studio = await startStudio('guarded');
  execFileSync(TOOL, ['new', path.join(studio.workspace, 'quiz'), '--kind', 'picture']);
});
after(() => studio.stop());

const MEDIA_MAX_BYTES = 64 * 1024 * 1024;

test('without the token nothing is served; the printed address gives it as a cookie', async () => {
  assert.equal((await request(studio, 'GET', '/api/quizzes', { headers: browserHeaders(studio) })).status, 200);
  const { Cookie, ...noCookie } = browserHeaders(studio);
  for (const target of ['/', '/studio.js', '/api/quizzes', '/api/quiz/quiz', '/quiz/quiz/preview'])
    assert.equal((await request(studio, 'GET', target, { headers: noCookie })).status, 403, target);
  const wrong = browserHeaders(studio, { Cookie: `trivo-studio-${studio.port}=${'0'.repeat(32)}` });
  assert.equal((await request(studio, 'GET', '/api/quizzes', { headers: wrong })).status, 403);
  const entered = await request(studio, 'GET', `/?token=${studio.token}`, { headers: noCookie });
  assert.equal(entered.status, 303);
  assert.match(entered.headers['set-cookie'][0], new RegExp(`^${studio.cookie}; .*HttpOnly; SameSite=Strict`));
});

test('another Host is refused, even with the token: no DNS rebinding', async () => {
  assert.equal((await request(studio, 'GET', '/api/quizzes', { headers: browserHeaders(studio, { Host: `localhost:${studio.port}` }) })).status, 200);
  for (const host of [`rebind.example:${studio.port}`, '127.0.0.1', `127.0.0.1:${studio.port + 1}`])
    assert.equal((await request(studio, 'GET', '/api/quizzes', { headers: browserHeaders(studio, { Host: host }) })).status, 403, host);
});

test('a change needs the studio\'s own Origin', async () => {
  const body = JSON.stringify({ name: 'nouveau', kind: 'text', slots: 1 });
  const { Origin, ...noOrigin } = browserHeaders(studio);
  assert.equal((await request(studio, 'POST', '/api/quizzes', { headers: noOrigin, body })).status, 403);
  const other = browserHeaders(studio, { Origin: 'http://attacker.example' });
  assert.equal((await request(studio, 'POST', '/api/quizzes', { headers: other, body })).status, 403);
  assert.ok(!fs.existsSync(path.join(studio.workspace, 'nouveau')));
  assert.equal((await request(studio, 'POST', '/api/quizzes', { headers: browserHeaders(studio), body })).status, 201);
  assert.ok(fs.existsSync(path.join(studio.workspace, 'nouveau/quiz.toml')));
});

test('names from the browser stay inside the workspace and the quiz\'s media folder', async () => {
  const png = execFileSync('convert', ['-size', '40x30', 'xc:#2050c0', 'png:-']);
  const sent = await request(studio, 'POST', `/api/quiz/quiz/media?role=media&name=${encodeURIComponent('../../../évasion.png')}`,
    { headers: browserHeaders(studio), body: png });
  assert.equal(sent.status, 201);
  assert.equal(JSON.parse(sent.body).path, 'media/vasion.jpg');
  assert.ok(fs.existsSync(path.join(studio.workspace, 'quiz/media/vasion.jpg')));
  for (const place of [path.dirname(studio.workspace), studio.workspace, path.join(studio.workspace, 'quiz')])
    assert.ok(!fs.readdirSync(place).some((name) => name.includes('vasion')), place);
  fs.writeFileSync(path.join(path.dirname(studio.workspace), 'secret.txt'), 'not for the browser');
  fs.symlinkSync(path.dirname(studio.workspace), path.join(studio.workspace, 'quiz/media/out'));
  const refused = ['/quiz/quiz/file?path=../../secret.txt', '/quiz/quiz/file?path=media/out/secret.txt',
    '/quiz/..%2F..%2Fguarded/file?path=quiz.toml', '/quiz/quiz/download?path=quiz.toml', '/api/quiz/..'];
  for (const target of refused) {
    const answer = await request(studio, 'GET', target, { headers: browserHeaders(studio) });
    assert.ok(answer.status === 403 || answer.status === 404, `${target}: ${answer.status}`);
    assert.ok(!answer.body.includes('not for the browser'), target);
  }
  assert.equal((await request(studio, 'GET', '/quiz/quiz/file?path=media/vasion.jpg', { headers: browserHeaders(studio) })).status, 200);
});

test('an upload past the limit gets 413 before its body is read', { timeout: 15000 }, async () => {
  const answer = await new Promise((resolve) => {
    const socket = net.connect(studio.port, '127.0.0.1', () => {
      socket.write(`POST /api/quiz/quiz/media?name=grand.png HTTP/1.1\r\nHost: 127.0.0.1:${studio.port}\r\n` +
        `Cookie: ${studio.cookie}\r\nOrigin: ${studio.origin}\r\nContent-Length: ${MEDIA_MAX_BYTES + 1}\r\n\r\n`);
    });
    let text = '';
    socket.on('data', (part) => { text += part; });
    socket.on('close', () => resolve(text));
  });
  assert.match(answer, /^HTTP\/1\.1 413 /);
  assert.ok(!fs.readdirSync(path.join(studio.workspace, 'quiz/media')).some((name) => name.startsWith('grand')));
});

test('malformed requests and a slow client leave the server answering', async () => {
  const raw = (bytes) => new Promise((resolve) => {
    const socket = net.connect(studio.port, '127.0.0.1', () => socket.write(bytes));
    let text = '';
    socket.on('data', (part) => { text += part; });
    socket.on('close', () => resolve(text));
    socket.on('error', () => resolve(text));
  });
  assert.match(await raw('NOT HTTP AT ALL\r\n\r\n'), /^HTTP\/1\.1 400 /);
  assert.match(await raw(`GET / HTTP/1.1\r\nHost: 127.0.0.1:${studio.port}\r\nX: ${'a'.repeat(20000)}\r\n\r\n`), /^HTTP\/1\.1 431 /);
  const slow = net.connect(studio.port, '127.0.0.1', () => slow.write('GET /api/quizzes HTTP/1.1\r\nHo'));
  assert.equal((await request(studio, 'GET', '/api/quizzes', { headers: browserHeaders(studio) })).status, 200);
  slow.destroy();
});
