// The quiz page in the browser: draws what the WebAssembly module holds (web/page_exports.h) and
// forwards what the player does to it. The module is the player's own C++: it loads the packed quiz,
// judges, reveals, scores and places every question; nothing here decides any of that.
'use strict';
(function () {
  // The numbers of trivoText, trivoColour and trivoVerdictColour, and the order of trivoBoxes.
  const TEXT = { title: 0, author: 1, description: 2, caption1: 3, caption2: 4, website: 5,
    codeCaption: 6, authorCaption: 7, version: 8 };
  const COLOUR = { background: 0, header: 1, link: 2, versionText: 3, versionBackground: 4,
    questionText: 5, labelText: 6, anagram: 7, right: 8, wrong: 9, nearMiss: 10 };
  const VERDICT_CLASSES = ['', 'anagram', 'right', 'wrong', 'near-miss'];
  const BOXES = ['text', 'picture', 'answerPicture', 'comment', 'play', 'stop', 'videoHost', 'number',
    'field1', 'field2', 'verdict1', 'verdict2'];
  const KIND = { text: 0, picture: 1, audio: 2, video: 3 };
  // What the Windows field selects when it takes the focus, and the most it judges.
  const SELECTED_ON_FOCUS = 25;
  const FIELD_CHARACTERS = 259;
  const NOT_KEPT = 'Vos réponses ne seront pas gardées dans ce navigateur.';

  const decoder = new TextDecoder('windows-1252');
  // Code page 1252 as the browser knows it, from character to byte.
  const cp1252Bytes = new Map();
  for (let b = 0; b < 256; b++) cp1252Bytes.set(decoder.decode(Uint8Array.of(b)), b);

  let trivo = null;  // the module's exports
  let fieldCount = 0;
  let storageKey = '';
  let storageRefused = false;
  let tabFrom = 0;  // the field where Tab went down: it moves on when Tab comes up there
  const fields = [];  // fields[f - 1]: { input, verdict, question }
  const questions = [];  // questions[q - 1]: { cell, picture, comment, film, answerShown }
  const films = [];
  let sound = null;

  const byId = (id) => document.getElementById(id);

  function cString(pointer) {
    const memory = new Uint8Array(trivo.memory.buffer);
    let end = pointer;
    while (memory[end] !== 0) end++;
    return decoder.decode(memory.subarray(pointer, end));
  }

  // What the Windows field hands the matcher: code page 1252 bytes, '?' for a character the code page
  // lacks, at most 259 of them.
  function putInput(text) {
    const input = trivo.trivoInput();
    const memory = new Uint8Array(trivo.memory.buffer);
    let length = 0;
    for (const character of text.normalize('NFC')) {
      if (length === FIELD_CHARACTERS) break;
      const byte = cp1252Bytes.get(character);
      memory[input + length++] = byte === undefined || byte === 0 ? 0x3f : byte;
    }
    memory[input + length] = 0;
  }

  function colour(which) {
    const value = trivo.trivoColour(which);
    return [value & 255, (value >> 8) & 255, (value >> 16) & 255];
  }
  const css = (rgb) => `rgb(${rgb[0]}, ${rgb[1]}, ${rgb[2]})`;

  // WCAG's relative luminance and contrast ratio, for outlining labels that would melt into the page.
  function luminance(rgb) {
    const linear = rgb.map((c) => {
      const s = c / 255;
      return s <= 0.03928 ? s / 12.92 : Math.pow((s + 0.055) / 1.055, 2.4);
    });
    return 0.2126 * linear[0] + 0.7152 * linear[1] + 0.0722 * linear[2];
  }
  function contrast(a, b) {
    const [light, dark] = [luminance(a), luminance(b)].sort((x, y) => y - x);
    return (light + 0.05) / (dark + 0.05);
  }

  function embeddedBytes(id) {
    const element = byId(id);
    if (!element) return null;
    const text = atob(element.textContent.trim());
    const bytes = new Uint8Array(text.length);
    for (let i = 0; i < text.length; i++) bytes[i] = text.charCodeAt(i);
    return bytes;
  }

  // A media file the page carries, as a URL of the page's own memory (no request leaves the page).
  function mediaUrl(id) {
    const element = byId(id);
    const bytes = element && embeddedBytes(id);
    return bytes ? URL.createObjectURL(new Blob([bytes], { type: element.dataset.type })) : null;
  }
  const mediaType = (id) => (byId(id) ? byId(id).dataset.type : '');

  function copyIn(bytes) {
    if (!bytes) return [0, -1];
    const pointer = trivo.malloc(bytes.length || 1);
    new Uint8Array(trivo.memory.buffer).set(bytes, pointer);
    return [pointer, bytes.length];
  }

  function boxesOf(q) {
    const out = trivo.malloc(BOXES.length * 16);
    trivo.trivoBoxes(q, out);
    const values = new Int32Array(trivo.memory.buffer, out, BOXES.length * 4);
    const boxes = {};
    BOXES.forEach((name, i) => {
      const [x, y, width, height] = values.slice(4 * i, 4 * i + 4);
      if (width > 0) boxes[name] = { x, y, width, height };
    });
    trivo.free(out);
    return boxes;
  }

  function boxFrom(call) {
    const out = trivo.malloc(16);
    call(out);
    const [x, y, width, height] = new Int32Array(trivo.memory.buffer, out, 4);
    trivo.free(out);
    return { x, y, width, height };
  }

  function place(element, box, origin) {
    element.style.left = `${box.x - origin.x}px`;
    element.style.top = `${box.y - origin.y}px`;
    element.style.width = `${box.width}px`;
    element.style.height = `${box.height}px`;
  }

  function make(tag, className, parent) {
    const element = document.createElement(tag);
    if (className) element.className = className;
    if (parent) parent.appendChild(element);
    return element;
  }

  function notice(text) {
    const line = make('p', 'notice', byId('notices'));
    line.textContent = text;
  }

  function drawHeader() {
    const root = document.documentElement.style;
    root.setProperty('--header', css(colour(COLOUR.header)));
    root.setProperty('--link', css(colour(COLOUR.link)));
    root.setProperty('--version-text', css(colour(COLOUR.versionText)));
    root.setProperty('--version-background', css(colour(COLOUR.versionBackground)));
    root.setProperty('--question-text', css(colour(COLOUR.questionText)));
    root.setProperty('--label-text', css(colour(COLOUR.labelText)));
    root.setProperty('--anagram', css(colour(COLOUR.anagram)));
    root.setProperty('--right', css(colour(COLOUR.right)));
    root.setProperty('--wrong', css(colour(COLOUR.wrong)));
    root.setProperty('--near-miss', css(colour(COLOUR.nearMiss)));
    const text = (which) => cString(trivo.trivoText(which));
    const title = text(TEXT.title);
    document.title = title.trim() || 'Trivo';
    byId('title').textContent = title;
    byId('description').textContent = text(TEXT.description);
    byId('author').textContent = text(TEXT.author);
    byId('author-caption').textContent = text(TEXT.authorCaption);
    byId('code-caption').textContent = text(TEXT.codeCaption);
    byId('version').textContent = text(TEXT.version);
    const link = byId('website');
    link.href = text(TEXT.website);
    link.textContent = text(TEXT.website);
  }

  // A question's controls sit in a cell the size of all its boxes, so that below the Windows page's
  // width the cells can flow one after the other with their insides kept.
  function drawQuestion(page, q, kind) {
    const boxes = boxesOf(q);
    const names = Object.keys(boxes);
    if (names.length === 0) return;
    const left = Math.min(...names.map((n) => boxes[n].x));
    const top = Math.min(...names.map((n) => boxes[n].y));
    const right = Math.max(...names.map((n) => boxes[n].x + boxes[n].width));
    const bottom = Math.max(...names.map((n) => boxes[n].y + boxes[n].height));
    const origin = { x: left, y: top };
    const cell = make('div', 'question', page);
    cell.dataset.question = q;
    place(cell, { x: left, y: top, width: right - left, height: bottom - top }, { x: 0, y: 0 });
    const question = { cell, boxes, origin, picture: null, comment: null, answerShown: false };
    questions[q - 1] = question;

    const number = make('span', 'number system', cell);
    number.textContent = `${q}.`;
    number.setAttribute('aria-hidden', 'true');
    place(number, boxes.number, origin);

    if (boxes.text) {
      const line = make('div', 'question-text gui', cell);
      line.id = `question-${q}`;
      line.textContent = cString(trivo.trivoQuestionText(q));
      place(line, boxes.text, origin);
    }
    if (kind === KIND.picture) drawPicture(question, q);
    if (boxes.play) drawMediaButtons(question, q, kind);
    if (boxes.videoHost) drawFilm(question, q);
    if (boxes.comment) {
      question.comment = make('div', 'comment gui', cell);
      question.comment.id = `comment-${q}`;
      place(question.comment, boxes.comment, origin);
    }
    const slots = trivo.trivoSlots() === 2 ? 2 : 1;
    for (let s = 1; s <= slots; s++) {
      const f = (q - 1) * slots + s;
      if (f > fieldCount || !boxes[`field${s}`]) continue;
      drawField(question, q, s, f, slots);
    }
  }

  function drawField(question, q, s, f, slots) {
    const input = make('input', `answer ${slots === 2 ? 'gui two' : 'gui'}`, question.cell);
    input.id = `answer-${f}`;
    input.type = 'text';
    input.maxLength = FIELD_CHARACTERS;
    input.autocomplete = 'off';
    input.spellcheck = false;
    input.setAttribute('autocapitalize', 'off');
    input.setAttribute('autocorrect', 'off');
    input.setAttribute('aria-label', `Question ${q}, réponse ${s}`);
    input.setAttribute('aria-describedby', 'keys');
    input.dataset.field = f;
    place(input, question.boxes[`field${s}`], question.origin);
    const verdict = make('span', `verdict ${slots === 2 ? 'gui' : 'system'}`, question.cell);
    verdict.id = `verdict-${f}`;
    verdict.setAttribute('role', 'status');
    place(verdict, question.boxes[`verdict${s}`], question.origin);
    if (slots === 2) input.dataset.caption = s === 1 ? 'caption1' : 'caption2';
    fields[f - 1] = { input, verdict, question: q, shown: null };
    input.addEventListener('focus', onFieldFocus);
    input.addEventListener('blur', onFieldLeft);
    input.addEventListener('input', onFieldInput);
    input.addEventListener('keydown', onFieldKeyDown);
    input.addEventListener('keyup', onFieldKeyUp);
  }

  // The picture takes the size its module gives once the browser has decoded it; until then, or
  // when it cannot be decoded, the empty bordered box shows, as on Windows.
  function drawPicture(question, q) {
    const picture = make('img', 'picture', question.cell);
    picture.id = `picture-${q}`;
    picture.alt = `Image de la question ${q}`;
    place(picture, question.boxes.picture, question.origin);
    question.picture = picture;
    const url = mediaUrl(`trivo-media-${q}`);
    if (!url) return;
    const decoded = new Image();
    decoded.onload = () => {
      if (question.answerShown) return;
      picture.src = url;
      place(picture, boxFrom((out) => trivo.trivoPictureBox(q, 0, decoded.naturalWidth, decoded.naturalHeight, out)),
        question.origin);
    };
    decoded.src = url;
  }

  function showAnswerPicture(question, q) {
    question.answerShown = true;
    const url = mediaUrl(`trivo-answer-${q}`);
    if (!url || !question.picture) return;
    const decoded = new Image();
    decoded.onload = () => {
      question.picture.src = url;
      question.picture.alt = `Réponse de la question ${q}`;
      question.picture.classList.add('revealed');
      place(question.picture,
        boxFrom((out) => trivo.trivoPictureBox(q, 1, decoded.naturalWidth, decoded.naturalHeight, out)), question.origin);
    };
    decoded.src = url;
  }

  function drawMediaButtons(question, q, kind) {
    const what = kind === KIND.audio ? 'le son' : 'le film';
    const play = make('button', 'media play', question.cell);
    play.id = `play-${q}`;
    play.type = 'button';
    play.setAttribute('aria-label', `Lire ${what} de la question ${q}`);
    place(play, question.boxes.play, question.origin);
    const stop = make('button', 'media stop', question.cell);
    stop.id = `stop-${q}`;
    stop.type = 'button';
    stop.setAttribute('aria-label', `Arrêter ${what}`);
    place(stop, question.boxes.stop, question.origin);
    play.addEventListener('click', () => (kind === KIND.audio ? playSound(q) : playFilm(q)));
    stop.addEventListener('click', () => (kind === KIND.audio ? stopSound() : stopFilms()));
  }

  // One sound at a time, as the Windows player's one sound window: a play stops the sound before it,
  // any stop button stops whichever plays.
  function playSound(q) {
    stopSound();
    const url = mediaUrl(`trivo-media-${q}`);
    if (!url) return;
    sound = byId('sound');
    sound.src = url;
    sound.play().catch(() => {});
  }
  function stopSound() {
    if (!sound) return;
    sound.pause();
    URL.revokeObjectURL(sound.src);
    sound.removeAttribute('src');
    sound.load();
    sound = null;
  }

  // A film the browser plays shows in its host box; one it cannot (no converter when the page was
  // built) is a link that opens it.
  function drawFilm(question, q) {
    const url = mediaUrl(`trivo-media-${q}`);
    const playable = mediaType(`trivo-media-${q}`).startsWith('video/mp4');
    const film = make(playable ? 'video' : 'a', 'film', question.cell);
    film.id = `film-${q}`;
    place(film, question.boxes.videoHost, question.origin);
    if (playable) {
      film.preload = 'auto';
      film.playsInline = true;
      film.setAttribute('aria-label', `Film de la question ${q}`);
      if (url) film.src = url;
      films.push(film);
    } else {
      film.textContent = `Ouvrir le film de la question ${q}`;
      if (url) {
        film.href = url;
        film.download = `film-${q}.avi`;
      }
    }
    question.film = film;
  }
  function playFilm(q) {
    const film = questions[q - 1].film;
    if (film.tagName === 'VIDEO') film.play().catch(() => {});
    else if (film.href) film.click();
  }
  function stopFilms() {
    for (const film of films) {
      film.pause();
      film.currentTime = 0;
    }
  }

  function drawCaptions(page) {
    const count = trivo.trivoQuestionCount();
    for (let k = 1; k <= count; k += 3) {
      for (let s = 1; s <= 2; s++) {
        const caption = make('span', 'caption gui', page);
        caption.textContent = cString(trivo.trivoText(s === 1 ? TEXT.caption1 : TEXT.caption2));
        caption.setAttribute('aria-hidden', 'true');
        place(caption, boxFrom((out) => trivo.trivoCaptionBox(k, s, out)), { x: 0, y: 0 });
      }
    }
  }

  function drawPage() {
    const page = byId('page');
    const background = colour(COLOUR.background);
    page.style.background = css(background);
    document.body.style.setProperty('--page', css(background));
    page.style.width = `${trivo.trivoPageWidth()}px`;
    page.style.height = `${trivo.trivoPageHeight()}px`;
    // Black text and the verdict labels keep a readable contrast on the quiz's own colour.
    if (contrast(background, colour(COLOUR.labelText)) < 4.5) page.classList.add('dark');
    for (const name of ['anagram', 'right', 'wrong', 'nearMiss']) {
      if (contrast(background, colour(COLOUR[name])) < 3) page.classList.add(`outline-${name}`);
    }
    if (!trivo.trivoLaidOut()) return;
    const kind = trivo.trivoKind();
    if (trivo.trivoSlots() === 2) drawCaptions(page);
    for (let q = 1; q <= trivo.trivoQuestionCount(); q++) drawQuestion(page, q, kind);
    fitToWindow();
  }

  // Narrower than the Windows page, the questions flow in rows as wide as the window, and a question
  // wider than the window lays its controls one after the other.
  function fitToWindow() {
    const page = byId('page');
    const style = getComputedStyle(page);
    const around = ['marginLeft', 'marginRight', 'borderLeftWidth', 'borderRightWidth']
      .reduce((sum, side) => sum + parseFloat(style[side]), 0);
    const narrow = document.documentElement.clientWidth < trivo.trivoPageWidth() + around;
    page.classList.toggle('narrow', narrow);
    const room = page.clientWidth;
    for (const question of questions) {
      if (question) question.cell.classList.toggle('flow', narrow && question.cell.offsetWidth > room);
    }
    const captions = [cString(trivo.trivoText(TEXT.caption1)), cString(trivo.trivoText(TEXT.caption2))];
    for (const field of fields) {
      const which = field.input.dataset.caption;
      if (!which) continue;
      if (narrow) field.input.placeholder = captions[which === 'caption1' ? 0 : 1];
      else field.input.removeAttribute('placeholder');
    }
  }

  // Everything the module holds, drawn again where it changed.
  function refresh() {
    for (let f = 1; f <= fieldCount; f++) {
      const field = fields[f - 1];
      if (!field) continue;
      if (trivo.trivoTakeRefilled(f)) field.input.value = cString(trivo.trivoFieldText(f));
      const verdict = cString(trivo.trivoVerdict(f));
      const colourClass = VERDICT_CLASSES[trivo.trivoVerdictColour(f)] || '';
      if (field.shown !== verdict) {
        field.verdict.textContent = verdict;
        field.verdict.className = field.verdict.className.replace(/ ?verdict-[a-z-]+/g, '');
        if (colourClass) field.verdict.classList.add(`verdict-${colourClass}`);
        field.shown = verdict;
      }
    }
    questions.forEach((question, i) => {
      if (!question) return;
      const q = i + 1;
      if (question.comment) {
        const comment = cString(trivo.trivoComment(q));
        if (question.comment.textContent !== comment) question.comment.textContent = comment;
      }
      if (!question.answerShown && trivo.trivoAnswerPictureShown(q)) showAnswerPicture(question, q);
    });
    byId('score').textContent = cString(trivo.trivoScoreText());
    byId('code').textContent = cString(trivo.trivoScoreCode());
  }

  function fieldOf(event) { return Number(event.target.dataset.field); }

  function judge(f) {
    trivo.trivoJudge(f);
    refresh();
  }

  function onFieldFocus(event) { event.target.setSelectionRange(0, SELECTED_ON_FOCUS); }
  function onFieldLeft(event) { judge(fieldOf(event)); }

  function onFieldInput(event) {
    const f = fieldOf(event);
    putInput(event.target.value);
    trivo.trivoSetField(f);
    saveAnswers();
  }

  function scrollPage(direction) {
    const header = byId('header').getBoundingClientRect().height;
    window.scrollBy(0, direction * Math.max(window.innerHeight - header, 30));
  }

  // Tab moves on when it comes up again in the field where it went down, as on Windows, where the
  // fields act on the release of their keys; the other keys act on release too.
  function onFieldKeyDown(event) {
    switch (event.key) {
      case 'Tab':
        tabFrom = fieldOf(event);
        event.preventDefault();
        break;
      case 'Enter': case 'F1': case 'PageUp': case 'PageDown': case 'ArrowUp': case 'ArrowDown':
        event.preventDefault();
        break;
      default:
        break;
    }
  }

  function onFieldKeyUp(event) {
    const f = fieldOf(event);
    switch (event.key) {
      case 'Tab':
        if (tabFrom === f) moveFrom(f, event.shiftKey);
        tabFrom = 0;
        break;
      case 'Enter':
        judge(f);
        break;
      case 'F1':
        trivo.trivoTryEverywhere(f);
        refresh();
        saveAnswers();
        break;
      case 'PageUp': case 'ArrowUp':
        scrollPage(-1);
        break;
      case 'PageDown': case 'ArrowDown':
        scrollPage(1);
        break;
      case 'Escape':
        leaveFields(f);
        break;
      default:
        break;
    }
  }

  // Tab: the next field, or the previous one with Shift, wrapping at both ends; reaching field 1
  // shows the page's top, the backward wrap to the last field does not scroll.
  function moveFrom(f, backward) {
    judge(f);
    const target = backward ? (f === 1 ? fieldCount : f - 1) : (f === fieldCount ? 1 : f + 1);
    const input = fields[target - 1].input;
    if (target === 1) {
      window.scrollTo(0, 0);
      input.focus({ preventScroll: true });
    } else if (backward && f === 1) {
      input.focus({ preventScroll: true });
    } else {
      input.focus({ preventScroll: true });
      input.scrollIntoView({ block: 'nearest', inline: 'nearest' });
    }
  }

  // Tab keeps to the fields; Escape lets the keyboard out of them, to the question's play button
  // when it has one, else to the header's link.
  function leaveFields(f) {
    const q = fields[f - 1].question;
    const play = byId(`play-${q}`);
    (play || byId('website')).focus();
  }

  function storage() {
    try {
      return window.localStorage;
    } catch (refused) {
      return null;
    }
  }

  function answersNotKept() {
    if (storageRefused) return;
    storageRefused = true;
    notice(NOT_KEPT);
  }

  function saveAnswers() {
    if (storageRefused) return;
    const store = storage();
    try {
      store.setItem(storageKey, JSON.stringify(fields.map((field) => field.input.value)));
    } catch (refused) {
      answersNotKept();
    }
  }

  // The answers kept for this very quiz, each judged again as the Windows page judges its fields
  // while it makes them: in order, the later fields still empty.
  function restoreAnswers() {
    let saved = [];
    const store = storage();
    try {
      const value = JSON.parse(store.getItem(storageKey) || '[]');
      if (Array.isArray(value)) saved = value;
    } catch (refused) {
      answersNotKept();
    }
    for (let f = 1; f <= fieldCount; f++) {
      const text = typeof saved[f - 1] === 'string' ? Array.from(saved[f - 1]).slice(0, FIELD_CHARACTERS).join('') : '';
      fields[f - 1].input.value = text;
      putInput(text);
      trivo.trivoSetField(f);
      trivo.trivoJudge(f);
    }
    refresh();
    saveAnswers();
  }

  async function start() {
    const { instance } = await WebAssembly.instantiate(embeddedBytes('trivo-wasm'), {});
    trivo = instance.exports;
    trivo._initialize();
    const [content, contentSize] = copyIn(embeddedBytes('trivo-content'));
    const [codes, codesSize] = copyIn(embeddedBytes('trivo-codes'));
    const [answers, answersSize] = copyIn(embeddedBytes('trivo-answers'));
    fieldCount = trivo.trivoLoad(content, contentSize, codes, codesSize, answers, answersSize);
    storageKey = `trivo:${cString(trivo.trivoIdentity())}`;
    for (const line of cString(trivo.trivoMessages()).split('\n')) if (line) notice(line);
    drawHeader();
    drawPage();
    restoreAnswers();
    // From now on every new verdict and comment is announced; the ones the page opened with are not.
    for (const field of fields) field.verdict.setAttribute('aria-live', 'polite');
    for (const question of questions) if (question && question.comment) question.comment.setAttribute('aria-live', 'polite');
    window.addEventListener('resize', fitToWindow);
    document.body.dataset.ready = 'true';
  }

  start().catch((error) => {
    notice(`Ce quiz ne peut pas s'ouvrir dans ce navigateur (${error.message || error}).`);
  });
})();
