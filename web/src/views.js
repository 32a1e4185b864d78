// The views of a run: Variables (name, type, value; what changed since the
// last stop stands out), Stack (top first) and Flags (the six of the last
// cmp). Each is drawn anew from the state the worker reports at a stop.

const FLAG_NAMES = ['equal', 'notEqual', 'greater', 'greaterOrEqual', 'less', 'lessOrEqual'];
const FLAG_JUMPS = ['je', 'jne', 'jg', 'jge', 'jl', 'jle'];

function element(tag, className, text) {
  const made = document.createElement(tag);
  if (className) made.className = className;
  if (text !== undefined) made.textContent = text;
  return made;
}

// A cell's text that a screen reader hears, not seen.
function unseen(text) {
  return element('span', 'visually-hidden', text);
}

function emptyHint(text) {
  return element('p', 'hint view-empty', text);
}

function fill(section, ...children) {
  const heading = section.querySelector('h2');
  section.replaceChildren(heading, ...children);
}

// decode turns the bytes of a value into the page's text.
export function showVariables(section, state, previous, decode) {
  if (!state) {
    fill(section, emptyHint('Shown while you step through a program.'));
    return;
  }
  if (state.variables.length === 0) {
    fill(section, emptyHint('The program declares no variable.'));
    return;
  }
  const before = new Map((previous?.variables ?? []).map((variable) => [variable.name, variable.value]));
  const table = element('table', 'view-table');
  const head = table.createTHead().insertRow();
  for (const title of ['Name', 'Type', 'Value']) {
    const cell = element('th', '', title);
    cell.scope = 'col';
    head.append(cell);
  }
  const body = table.createTBody();
  for (const variable of state.variables) {
    const row = body.insertRow();
    const changed = variable.changed || (before.has(variable.name) && before.get(variable.name) !== variable.value);
    if (changed) row.className = 'changed';
    const name = element('th', '', decode(variable.name));
    name.scope = 'row';
    row.append(name, element('td', '', variable.type));
    const value = element('td', 'value', decode(variable.value) + (variable.cut ? ' …' : ''));
    if (changed) value.prepend(unseen('changed: '));
    row.append(value);
  }
  fill(section, table);
}

export function showStack(section, state, decode) {
  if (!state) {
    fill(section, emptyHint('Top first, while you step.'));
    return;
  }
  if (state.depth === 0) {
    fill(section, emptyHint('The stack is empty.'));
    return;
  }
  const list = element('ol', 'view-list stack');
  list.setAttribute('aria-label', `The stack, top first: ${state.depth} ${state.depth === 1 ? 'value' : 'values'}`);
  state.stack.forEach((value, index) => {
    const item = element('li', '', decode(value));
    if (index === 0) item.append(element('span', 'stack-top', '← top'));
    list.append(item);
  });
  const more = state.depth - state.stack.length;
  const children = [list];
  if (more > 0) children.push(emptyHint(`and ${more.toLocaleString('en')} more below`));
  fill(section, ...children);
}

export function showFlags(section, state, previous) {
  if (!state) {
    fill(section, emptyHint('The six flags of the last cmp.'));
    return;
  }
  if (!state.compared) {
    fill(section, emptyHint('No cmp has run yet: all six are clear.'));
    return;
  }
  const list = element('ul', 'view-list flags');
  FLAG_NAMES.forEach((name, index) => {
    const set = state.flags[index] === 1;
    const item = element('li', set ? 'set' : 'clear');
    item.append(element('span', 'flag-name', name), ` ${set ? 'set' : 'clear'}`);
    item.title = `${FLAG_JUMPS[index]} jumps when ${name} is set`;
    if (previous?.compared && previous.flags[index] !== state.flags[index]) {
      item.classList.add('changed');
      item.append(unseen(' (changed)'));
    }
    list.append(item);
  });
  fill(section, list);
}
