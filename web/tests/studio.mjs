// What the studio tests share: trivo-make studio started on a workspace of its own, at a free port,
// without a browser of its own, its printed address read back, and requests made as a browser's.
import { spawn } from 'node:child_process';
import fs from 'node:fs';
import http from 'node:http';
import path from 'node:path';
import { SOURCE, TOOL, WORK } from './pages.mjs';

export const SHOTS = process.env.TRIVO_STUDIO_SHOTS || path.join(SOURCE, 'build/studio-screenshots');

// Starts the studio on a new workspace WORK/name, with env; resolves once it has printed its address.
export function startStudio(name, env = process.env) {
  const workspace = path.join(WORK, name);
  fs.mkdirSync(workspace, { recursive: true });
  const child = spawn(TOOL, ['studio', workspace, '--no-browser', '--port', '0'], { stdio: ['ignore', 'pipe', 'pipe'], env });
  let printed = '';
  return new Promise((resolve, reject) => {
    child.on('exit', (code) => reject(new Error(`trivo-make studio ended (${code}): ${printed}`)));
    child.stderr.on('data', (bytes) => { printed += bytes; });
    child.stdout.on('data', (bytes) => {
      printed += bytes;
      const match = /http:\/\/127\.0\.0\.1:(\d+)\/\?token=([0-9a-f]+)/.exec(printed);
      if (!match) return;
      const port = Number(match[1]);
      resolve({
        workspace, child, port, token: match[2], url: match[0], origin: `http://127.0.0.1:${port}`,
        cookie: `trivo-studio-${port}=${match[2]}`,
        stop: () => new Promise((done) => { if (child.exitCode !== null) done(); else { child.on('exit', done); child.kill('SIGINT'); } }),
      });
    });
  });
}

// One request with exactly these headers (Host included); resolves to its status and body.
export function request(studio, method, target, { headers = {}, body } = {}) {
  return new Promise((resolve, reject) => {
    const outgoing = http.request({ host: '127.0.0.1', port: studio.port, method, path: target, headers, agent: false },
      (response) => {
        const parts = [];
        response.on('data', (part) => parts.push(part));
        response.on('end', () => resolve({ status: response.statusCode, headers: response.headers, body: Buffer.concat(parts).toString() }));
      });
    outgoing.on('error', reject);
    if (body !== undefined) outgoing.write(body);
    outgoing.end();
  });
}

// The headers of the studio's own page in the browser that opened its address.
export function browserHeaders(studio, more = {}) {
  return { Host: `127.0.0.1:${studio.port}`, Cookie: studio.cookie, Origin: studio.origin, ...more };
}
