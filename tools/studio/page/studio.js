// Trivo Studio's page: the home page of the workspace's quizzes and the editor of one quiz. Every
// rule (what a quiz may hold, how answers are judged) is the server's C++: the page sends each change,
// shows the problems check finds beside their fields, and frames the quiz's own web page as preview.

const KINDS = { text: 'Texte', picture: 'Images', audio: 'Sons', video: 'Films' };
const REVEALS = { none: 'Rien', picture: "L'image de réponse", comment: 'Le commentaire' };
const ACCENTS = { '': 'Comptent (par défaut)', exact: 'Comptent', ignore: 'Ignorés' };
const SEVERITY = { error: 'Erreur', warning: 'Avertissement', note: 'Remarque' };
const SAVE_DELAY_MS = 400;

const view = document.getElementById('view');
const statusLine = document.getElementById('status');

// el('label', {for: 'x'}, 'Titre'): an element with its attributes (on* as listeners) and children.
function el(tag, attributes = {}, ...children) {
  const node = document.createElement(tag);
  for (const [name, value] of Object.entries(attributes)) {
    if (value === undefined || value === null || value === false) continue;
    if (name.startsWith('on')) node.addEventListener(name.slice(2), value);
    else if (name === 'value') node.value = value;
    else node.setAttribute(name, value === true ? '' : value);
  }
  for (const child of children.flat()) if (child !== null && child !== undefined) node.append(child);
  return node;
}

function say(text) { statusLine.textContent = text; }

// French counts: 0 and 1 take the singular.
function plural(count, one, many) { return `${count} ${count <= 1 ? one : many}`; }

async function api(method, path, body, raw = false) {
  const options = { method, headers: {} };
  if (body !== undefined) {
    if (raw) options.body = body;
    else { options.headers['Content-Type'] = 'application/json'; options.body = JSON.stringify(body); }
  }
  try {
    const response = await fetch(path, options);
    let data = {};
    try { data = await response.json(); } catch { data = {}; }
    return { status: response.status, ok: response.ok, data };
  } catch (error) {
    return { status: 0, ok: false, data: { error: 'le studio ne répond pas (arrêté ?)' } };
  }
}

// ---- Home: the workspace's quizzes, a new one, a quiz program opened ----

async function showHome() {
  const { ok, data } = await api('GET', '/api/quizzes');
  if (!ok) { view.replaceChildren(el('p', { class: 'alert' }, data.error || 'Erreur')); return; }
  const rows = data.quizzes.map((quiz) => el('tr', {},
    el('td', {}, el('a', { href: `#/quiz/${encodeURIComponent(quiz.name)}` }, quiz.title || quiz.name)),
    el('td', {}, quiz.name),
    el('td', {}, KINDS[quiz.kind] || quiz.kind),
    el('td', {}, String(quiz.questions)),
    el('td', {}, quiz.changed ? new Date(quiz.changed).toLocaleString('fr-FR') : ''),
    el('td', {}, quiz.errors ? plural(quiz.errors, 'erreur', 'erreurs') : 'prêt')));
  const list = data.quizzes.length
    ? el('table', {}, el('thead', {}, el('tr', {}, ['Titre', 'Dossier', 'Genre', 'Questions', 'Dernier changement', 'État']
      .map((h) => el('th', { scope: 'col' }, h)))), el('tbody', {}, rows))
    : el('p', {}, 'Aucun quiz dans ce dossier pour l’instant.');
  const form = newQuizForm();
  const program = el('input', { type: 'file', id: 'open-program', accept: '.exe', onchange: () => openProgram(program) });
  view.replaceChildren(
    el('h2', {}, 'Vos quiz'), el('p', {}, `Dossier de travail : ${data.workspace}`), list,
    el('div', { class: 'actions' },
      el('button', { type: 'button', class: 'main', onclick: () => { form.hidden = false; form.querySelector('input').focus(); } }, 'Nouveau quiz')),
    form,
    el('div', { class: 'panel' }, el('label', { for: 'open-program' }, 'Ouvrir un programme de quiz'), program,
      el('p', { id: 'open-result' })));
  say('');
}

function newQuizForm() {
  const name = el('input', { type: 'text', id: 'new-name', autocomplete: 'off' });
  const kind = el('select', { id: 'new-kind' }, Object.entries(KINDS).map(([word, label]) => el('option', { value: word }, label)));
  const slots = el('select', { id: 'new-slots' }, el('option', { value: '1' }, '1'), el('option', { value: '2' }, '2'));
  const message = el('p', { role: 'alert' });
  const create = async (event) => {
    event.preventDefault();
    const { ok, data } = await api('POST', '/api/quizzes', { name: name.value.trim(), kind: kind.value, slots: Number(slots.value) });
    if (ok) location.hash = `#/quiz/${encodeURIComponent(data.name)}`;
    else message.textContent = data.error;
  };
  return el('form', { class: 'panel', hidden: true, onsubmit: create, 'aria-label': 'Nouveau quiz' },
    el('label', { for: 'new-name' }, 'Nom du dossier'), name,
    el('label', { for: 'new-kind' }, 'Genre'), kind,
    el('label', { for: 'new-slots' }, 'Réponses par question'), slots,
    el('div', { class: 'actions' }, el('button', { type: 'submit', class: 'main' }, 'Créer')), message);
}

async function openProgram(input) {
  const file = input.files[0];
  if (!file) return;
  say(`Lecture de ${file.name}…`);
  const { ok, data } = await api('POST', `/api/import?name=${encodeURIComponent(file.name)}`, file, true);
  if (ok) location.hash = `#/quiz/${encodeURIComponent(data.name)}`;
  else { document.getElementById('open-result').textContent = data.error; say(''); }
}

// ---- Editor: one quiz, saved and checked at each change ----

const editor = { name: '', quiz: null, version: '', problems: [], saving: false, again: false, timer: 0, conflict: false, notes: {} };

async function showEditor(name) {
  const { ok, data } = await api('GET', `/api/quiz/${encodeURIComponent(name)}`);
  if (!ok) { view.replaceChildren(el('p', { class: 'alert' }, data.error || 'Erreur'), el('a', { href: '#/' }, 'Retour')); return; }
  Object.assign(editor, { name, version: data.version, problems: data.problems, conflict: false, notes: {} });
  if (!data.readable) {
    editor.quiz = null;
    view.replaceChildren(el('div', { class: 'alert' },
      el('p', {}, 'Ce quiz.toml ne se lit pas : corrigez-le dans un éditeur de texte, puis rouvrez-le ici. Le studio n’y touche pas.'),
      el('ul', {}, data.problems.map((p) => el('li', {}, `ligne ${p.line} : ${p.message}`)))));
    return;
  }
  editor.quiz = data.quiz;
  renderEditor();
  say(data.studioLayout ? '' : 'Ce quiz.toml vient d’ailleurs : à la première modification, le studio le garde sous quiz.toml.bak.');
}

const fieldId = (field) => `f-${field}`;
const quizPath = (path) => `/quiz/${encodeURIComponent(editor.name)}/${path}`;

// A labelled text field bound to quiz[key] (or question q's), with its problems under it.
function textField(field, label, object, key, { multiline = false } = {}) {
  const id = fieldId(field);
  const input = el(multiline ? 'textarea' : 'input', {
    id, type: multiline ? undefined : 'text', value: object[key] || '', 'aria-describedby': `problems-${field}`,
    oninput: () => { object[key] = input.value; scheduleSave(); },
  });
  return el('div', {}, el('label', { for: id }, label), input, problemSlot(field));
}

// More accepted answers of a slot, one a line; their problems stand with the slot's answer.
function otherAnswersField(field, label, question, key) {
  const id = fieldId(field);
  const input = el('textarea', { id, rows: 2, value: (question[key] || []).join('\n'),
    oninput: () => { question[key] = input.value.split('\n').map((line) => line.trim()).filter((line) => line); scheduleSave(); } });
  return el('div', {}, el('label', { for: id }, `${label} (une par ligne, facultatif)`), input);
}

function selectField(field, label, choices, current, onchange) {
  const id = fieldId(field);
  const select = el('select', { id, 'aria-describedby': `problems-${field}`, onchange: () => onchange(select.value) },
    Object.entries(choices).map(([value, text]) => el('option', { value, selected: value === String(current) }, text)));
  return el('div', {}, el('label', { for: id }, label), select, problemSlot(field));
}

function problemSlot(field) { return el('ul', { class: 'problems', id: `problems-${field}` }); }

function settingsPanel(quiz) {
  const colour = el('input', { type: 'color', id: fieldId('background'), value: quiz.background || '#ffffff',
    'aria-describedby': 'problems-background',
    oninput: () => { quiz.background = colour.value.toUpperCase(); scheduleSave(); } });
  return el('fieldset', {}, el('legend', {}, 'Réglages'),
    el('p', { id: fieldId('kind'), tabindex: '-1' }, `Genre : ${KINDS[quiz.kind] || quiz.kind}`), problemSlot('kind'),
    textField('title', 'Titre', quiz, 'title'),
    textField('description', 'Explication', quiz, 'description', { multiline: true }),
    textField('author', 'Auteur', quiz, 'author'),
    selectField('slots', 'Réponses par question', { 1: '1', 2: '2' }, quiz.slots, (v) => { quiz.slots = Number(v); changed(); }),
    quiz.slots === 2 ? [textField('caption1', 'Légende de la réponse 1', quiz, 'caption1'),
      textField('caption2', 'Légende de la réponse 2', quiz, 'caption2')] : null,
    selectField('reveal', 'Ce que montre une question résolue', REVEALS, quiz.reveal, (v) => { quiz.reveal = v; changed(); }),
    selectField('accents', 'Accents des réponses', ACCENTS, quiz.accents || '', (v) => { quiz.accents = v; changed(); }),
    el('label', { for: fieldId('background') }, 'Couleur de fond'), colour, problemSlot('background'));
}

function codesPanel(quiz) {
  while (quiz.codes.length < quiz.questions.length) quiz.codes.push('');
  return el('fieldset', { id: fieldId('codes'), tabindex: '-1' }, el('legend', {}, 'Codes de récompense'), problemSlot('codes'),
    quiz.codes.map((_, k) => textField(`code-${k + 1}`, `Code pour un score de ${k + 1}`, quiz.codes, k)));
}

// A media file of question q: chosen or dropped, shown as a thumbnail or a player.
function mediaField(q, field, label, question, key, role) {
  const id = fieldId(field);
  const input = el('input', { type: 'file', id, 'aria-describedby': `problems-${field}`,
    onchange: () => input.files[0] && upload(input.files[0], question, key, role, field) });
  const path = question[key];
  const kind = role === 'picture' ? 'picture' : editor.quiz.kind;
  let shown = el('span', {}, path ? path : 'Aucun fichier : déposez-en un ici ou choisissez-le.');
  if (path && kind === 'picture') shown = el('span', {}, el('img', { src: quizPath(`file?path=${encodeURIComponent(path)}`), alt: `${label} : ${path}` }), ` ${path}`);
  if (path && kind === 'audio') shown = el('span', {}, el('audio', { controls: true, src: quizPath(`file?path=${encodeURIComponent(path)}`) }), ` ${path}`);
  const zone = el('div', { class: 'drop', 'data-field': field,
    ondragover: (event) => { event.preventDefault(); zone.classList.add('over'); },
    ondragleave: () => zone.classList.remove('over'),
    ondrop: (event) => { event.preventDefault(); zone.classList.remove('over');
      const file = event.dataTransfer.files[0]; if (file) upload(file, question, key, role, field); } },
  input, shown,
  path ? el('button', { type: 'button', onclick: () => { question[key] = ''; delete editor.notes[field]; changed(); } }, `Retirer : ${label}`) : null);
  const note = editor.notes[field] ? el('p', { class: 'note' }, editor.notes[field]) : null;
  return el('div', {}, el('label', { for: id }, label), zone, note, problemSlot(field));
}

function questionPanel(quiz, question, i) {
  const q = i + 1;
  const f = (name) => `q-${q}-${name}`;
  const move = (by) => { const [moved] = quiz.questions.splice(i, 1); quiz.questions.splice(i + by, 0, moved); changed(); };
  return el('section', { class: 'question panel', id: fieldId(`q-${q}`), tabindex: '-1', 'aria-labelledby': `title-q-${q}` },
    el('h3', {}, el('span', { id: `title-q-${q}` }, `Question ${q}`),
      el('button', { type: 'button', disabled: i === 0, onclick: () => move(-1) }, `Monter la question ${q}`),
      el('button', { type: 'button', disabled: i === quiz.questions.length - 1, onclick: () => move(1) }, `Descendre la question ${q}`),
      el('button', { type: 'button', onclick: () => { quiz.questions.splice(i, 1); quiz.codes.splice(quiz.questions.length, 1); changed(); } },
        `Supprimer la question ${q}`)),
    problemSlot(`q-${q}`),
    quiz.kind === 'text' ? textField(f('text'), `Question ${q}, texte`, question, 'text')
      : mediaField(q, f('media'), `Question ${q}, média`, question, 'media', 'media'),
    textField(f('answer'), `Question ${q}, réponse 1`, question, 'answer'),
    otherAnswersField(f('others'), `Question ${q}, autres réponses 1`, question, 'otherAnswers'),
    quiz.slots === 2 ? [textField(f('answer2'), `Question ${q}, réponse 2`, question, 'answer2'),
      otherAnswersField(f('others2'), `Question ${q}, autres réponses 2`, question, 'otherAnswers2')] : null,
    quiz.reveal === 'picture' || question.answerPicture ? mediaField(q, f('picture'), `Question ${q}, image de réponse`, question, 'answerPicture', 'picture') : null,
    quiz.reveal === 'comment' || question.comment ? textField(f('comment'), `Question ${q}, commentaire`, question, 'comment') : null);
}

function sidePanel() {
  const build = (format, label) => el('button', { type: 'button', onclick: () => buildQuiz(format) }, label);
  return el('div', { class: 'side' },
    el('div', { id: 'conflict' }),
    el('section', { class: 'panel', 'aria-labelledby': 'summary' }, el('h2', { id: 'summary' }, ''),
      el('ul', { id: 'problem-list', 'aria-label': 'Problèmes' })),
    el('div', { class: 'actions' }, build('exe', 'Fabriquer le programme'), build('html', 'Fabriquer la page web'),
      el('button', { type: 'button', onclick: playQuiz }, 'Essayer')),
    el('div', { id: 'build-result', 'aria-live': 'polite' }),
    el('h2', {}, 'Aperçu'),
    el('iframe', { id: 'preview', title: 'Aperçu', onload: (event) => event.target.setAttribute('data-loaded', '') }));
}

// The quiz's web page as it is on disk now; data-loaded says when it has loaded.
function showPreview(version) {
  const frame = document.getElementById('preview');
  frame.removeAttribute('data-loaded');
  frame.src = quizPath(`preview?v=${version}`);
}

function renderEditor() {
  const quiz = editor.quiz;
  const focused = document.activeElement && document.activeElement.id;
  view.replaceChildren(el('p', {}, el('a', { href: '#/' }, '← Vos quiz'), ` · dossier ${editor.name}`),
    el('div', { class: 'editor' },
      el('div', {}, settingsPanel(quiz), codesPanel(quiz),
        quiz.questions.map((question, i) => questionPanel(quiz, question, i)),
        el('div', { class: 'actions' }, el('button', { type: 'button', class: 'main', onclick: addQuestion }, 'Ajouter une question'))),
      sidePanel()));
  showProblems();
  showPreview(editor.version);
  if (focused && document.getElementById(focused)) document.getElementById(focused).focus();
}

function addQuestion() {
  editor.quiz.questions.push({ text: '', answer: '', answer2: '', media: '', answerPicture: '', comment: '', otherAnswers: [], otherAnswers2: [] });
  changed();
  document.getElementById(fieldId(`q-${editor.quiz.questions.length}`)).focus();
}

// A change of the form's shape: drawn again, then saved.
function changed() { renderEditor(); scheduleSave(0); }

function showProblems() {
  for (const slot of document.querySelectorAll('.problems')) slot.replaceChildren();
  for (const control of document.querySelectorAll('[aria-invalid]')) control.removeAttribute('aria-invalid');
  const list = document.getElementById('problem-list');
  if (!list) return;
  const items = [];
  for (const problem of editor.problems) {
    const text = `${SEVERITY[problem.severity]} : ${problem.message}${problem.hint ? ` (${problem.hint})` : ''}`;
    const slot = document.getElementById(`problems-${problem.field}`);
    if (slot) slot.append(el('li', { class: problem.severity }, text));
    const control = document.getElementById(fieldId(problem.field));
    if (control && problem.severity === 'error') control.setAttribute('aria-invalid', 'true');
    items.push(el('li', { class: problem.severity }, el('button', { type: 'button', onclick: () => {
      const target = document.getElementById(fieldId(problem.field));
      if (target) { target.scrollIntoView({ block: 'center' }); target.focus(); }
    } }, text)));
  }
  list.replaceChildren(...items);
  const count = (severity) => editor.problems.filter((p) => p.severity === severity).length;
  const notes = count('note');
  document.getElementById('summary').textContent =
    `${plural(count('error'), 'erreur', 'erreurs')}, ${plural(count('warning'), 'avertissement', 'avertissements')}` +
    (notes ? `, ${plural(notes, 'remarque', 'remarques')}` : '');
}

function scheduleSave(delay = SAVE_DELAY_MS) {
  clearTimeout(editor.timer);
  editor.timer = setTimeout(save, delay);
}

// Saves the page's quiz; one save at a time, and a change made meanwhile is saved after it. A save
// that fails keeps everything in the page and is tried again at the next change.
async function save(force = false) {
  editor.timer = 0;
  if (editor.conflict && !force) return;
  if (editor.saving) { editor.again = true; return; }
  editor.saving = true;
  say('Enregistrement…');
  const name = editor.name;
  const { status, ok, data } = await api('PUT', `/api/quiz/${encodeURIComponent(name)}`, { base: editor.version, force, quiz: editor.quiz });
  editor.saving = false;
  if (name !== editor.name) return;
  if (status === 409 && data.conflict) { showConflict(); return; }
  if (!ok) {
    say(`Échec de l’enregistrement : ${data.error || status}. Vos changements restent dans cette page ; le studio réessaie au prochain changement.`);
    return;
  }
  editor.conflict = false;
  document.getElementById('conflict').replaceChildren();
  editor.version = data.version;
  editor.problems = data.problems;
  showProblems();
  say(data.backup ? `Enregistré. L’ancien quiz.toml, écrit par un autre programme, est gardé sous ${data.backup}.` : 'Enregistré.');
  if (data.saved) showPreview(data.version);
  if (editor.again) { editor.again = false; save(); }
}

// quiz.toml changed elsewhere (another program, another tab) since this page read it: the author
// chooses which to keep, and nothing is written meanwhile.
function showConflict() {
  editor.conflict = true;
  say('quiz.toml a changé ailleurs : rien n’est enregistré tant que vous n’avez pas choisi.');
  document.getElementById('conflict').replaceChildren(el('div', { class: 'alert', role: 'alertdialog', 'aria-labelledby': 'conflict-text' },
    el('p', { id: 'conflict-text' }, 'Le fichier quiz.toml a été modifié par un autre programme ou un autre onglet depuis que cette page l’a lu. Que garder ?'),
    el('div', { class: 'actions' },
      el('button', { type: 'button', onclick: () => save(true) }, 'Garder ma version'),
      el('button', { type: 'button', onclick: () => showEditor(editor.name) }, 'Reprendre celle du fichier'))));
}

// A WebP picture, which the tool does not decode, is handed over as PNG: the browser decodes it.
async function asUploadable(file) {
  if (file.type !== 'image/webp') return { body: file, name: file.name };
  const bitmap = await createImageBitmap(file);
  const canvas = new OffscreenCanvas(bitmap.width, bitmap.height);
  canvas.getContext('2d').drawImage(bitmap, 0, 0);
  return { body: await canvas.convertToBlob({ type: 'image/png' }), name: file.name.replace(/\.webp$/i, '') + '.png' };
}

async function upload(file, question, key, role, field) {
  say(`Envoi de ${file.name}…`);
  let sent;
  try { sent = await asUploadable(file); } catch { sent = { body: file, name: file.name }; }
  const { ok, status, data } = await api('POST',
    quizPath(`media?role=${role}&name=${encodeURIComponent(sent.name)}`).replace('/quiz/', '/api/quiz/'), sent.body, true);
  if (!ok) {
    const message = status === 413 ? `Fichier trop grand : ${data.error || 'refusé'}` : data.error || `refusé (${status})`;
    editor.notes[field] = message;
    renderEditor();
    say(message);
    return;
  }
  question[key] = data.path;
  editor.notes[field] = data.note || `${file.name} est enregistré sous ${data.path}.`;
  say(data.note || `${data.path} ajouté.`);
  changed();
}

async function buildQuiz(format) {
  const result = document.getElementById('build-result');
  result.replaceChildren(el('p', {}, 'Fabrication…'));
  const { data } = await api('POST', `/api/quiz/${encodeURIComponent(editor.name)}/build?format=${format}`);
  const link = data.ok ? el('a', { href: quizPath(`download?path=${encodeURIComponent(data.file)}`), download: data.file },
    `Télécharger ${data.file}`) : null;
  result.replaceChildren(el('p', {}, data.ok ? `${data.file} est écrit dans le dossier du quiz. ` : 'Rien n’a été fabriqué.', link),
    data.messages ? el('pre', {}, data.messages) : null);
}

async function playQuiz() {
  const { ok, data } = await api('POST', `/api/quiz/${encodeURIComponent(editor.name)}/play`);
  say(ok ? 'Le programme du quiz s’ouvre dans sa propre fenêtre.' : data.error);
  if (!ok) return;
  // The trial runs until its window is closed; one that fails says why, as a build does.
  let trial;
  do {
    await new Promise((done) => setTimeout(done, 1000));
    trial = (await api('GET', '/api/trial')).data;
  } while (trial.running);
  if (trial.status === undefined) return;  // the studio has stopped
  say(trial.status === 0 ? 'La fenêtre de l’essai est fermée.' : 'L’essai n’a pas pu s’ouvrir.');
  const result = document.getElementById('build-result');  // gone when the author has left the quiz
  if (trial.status !== 0 && result) {
    result.replaceChildren(el('p', {}, 'L’essai n’a pas pu s’ouvrir.'),
      el('pre', {}, trial.messages));
  }
}

document.getElementById('quit').addEventListener('click', async () => {
  await api('POST', '/api/quit');
  document.body.replaceChildren(el('main', {}, el('h1', {}, 'Trivo Studio est arrêté.'), el('p', {}, 'Vous pouvez fermer cet onglet.')));
});

function route() {
  const match = /^#\/quiz\/(.+)$/.exec(location.hash);
  // An edit still waiting for its save is saved before the page moves on.
  if (editor.timer) { clearTimeout(editor.timer); save(); }
  if (match) showEditor(decodeURIComponent(match[1]));
  else { editor.name = ''; showHome(); }
}
window.addEventListener('hashchange', route);
route();
