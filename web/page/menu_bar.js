// The menu bar built from the core's menu table: titles with access letters,
// nested lists, the keys of an open menu and the check marks.

// A caption with its access letter underlined ("&" before it; "&&" is "&").
function captionNodes(caption) {
  const frag = document.createDocumentFragment();
  let text = '', letter = null;
  for (let i = 0; i < caption.length; ++i) {
    const c = caption[i];
    if (c === '&' && i + 1 < caption.length) {
      const next = caption[++i];
      if (next === '&') {
        text += '&';
      } else if (letter === null) {
        frag.append(text);
        text = '';
        const u = document.createElement('u');
        u.textContent = next;
        frag.append(u);
        letter = next.toLowerCase();
      } else {
        text += next;
      }
    } else {
      text += c;
    }
  }
  frag.append(text);
  return { nodes: frag, letter };
}

// Calls handler(ev) when a finger taps the element; a finger that moves
// (scrolling the bar or a list) does not tap. The tap's own mouse events and
// click are suppressed, so that a tap acts once, also where the browser would
// not follow it with a click (a tap just after the bar has scrolled).
function onTouchTap(element, handler) {
  let start = null;
  element.addEventListener('touchstart', (ev) => {
    const t = ev.changedTouches[0];
    start = { x: t.clientX, y: t.clientY };
  }, { passive: true });
  element.addEventListener('touchmove', (ev) => {
    const t = ev.changedTouches[0];
    if (start && Math.hypot(t.clientX - start.x, t.clientY - start.y) > 10) start = null;
  }, { passive: true });
  element.addEventListener('touchend', (ev) => {
    if (!start) return;
    start = null;
    if (ev.cancelable) ev.preventDefault();
    handler(ev);
  });
}

export function parseMenuTree(text) {
  const entries = [];
  text.split('\n').forEach((line) => {
    if (!line) return;
    const [name, parent, caption, flags, command, shortcut] = line.split('\x1f');
    entries.push({ index: entries.length, name, parent, caption,
      submenu: flags.includes('s'), checkable: flags.includes('c'), command: command || '',
      shortcut: shortcut || '', children: [] });
  });
  return entries;
}

export class MenuBar {
  // choose(entry): an item chosen; opening a menu changes nothing.
  constructor(bar, entries, choose) {
    this.bar = bar;
    this.choose = choose;
    this.entries = entries;
    this.byName = new Map(entries.map((e) => [e.name, e]));
    this.roots = [];
    // The marks the command handler keeps; those of window commands the page sets.
    this.checkable = entries.filter((e) => e.checkable && !e.command);
    for (const e of entries) {
      const parent = e.parent ? this.byName.get(e.parent) : null;
      if (e.parent && !parent) {
        console.error('Menü: Eintrag ' + e.name + ' hat kein Obermenü ' + e.parent);
        continue;
      }
      (parent ? parent.children : this.roots).push(e);
    }
    this.open = [];  // the chain of open menus, top-level first
    this.openedAt = 0;  // where the bar was scrolled when its menu opened
    this.build();
    document.addEventListener('pointerdown', (ev) => {
      if (!this.bar.contains(ev.target)) this.closeAll();
    });
    // Open lists stand where their menus stood: they close when these move.
    this.bar.addEventListener('scroll', () => {
      if (this.isOpen() && Math.abs(this.bar.scrollLeft - this.openedAt) > 1) this.closeAll();
    });
    window.addEventListener('resize', () => this.closeAll());
  }

  build() {
    for (const e of this.roots) {
      const title = document.createElement('div');
      title.className = 'menu-title';
      title.setAttribute('role', 'menuitem');
      title.id = e.name;
      const { nodes, letter } = captionNodes(e.caption);
      title.append(nodes);
      e.letter = letter;
      e.element = title;
      title.addEventListener('mousedown', (ev) => {
        ev.preventDefault();
        if (ev.target.closest('.menu-list')) return;  // an item of this menu
        // A click on the title of the open menu closes it, unless the
        // pointer has just opened it on its way there.
        if (this.open[0] === e && this.hoverOpened !== e) this.closeAll();
        else if (this.open[0] !== e) this.openTop(e);
        this.hoverOpened = null;
      });
      onTouchTap(title, (ev) => {
        if (ev.target.closest('.menu-list')) return;
        if (this.open[0] === e) this.closeAll();
        else this.openTop(e);
      });
      title.addEventListener('mouseenter', () => {
        if (this.open.length && this.open[0] !== e) {
          this.openTop(e);
          this.hoverOpened = e;
        }
      });
      this.bar.append(title);
      if (e.children.length || e.submenu) e.list = this.buildList(e, title);
    }
  }

  buildList(menu, anchor) {
    const list = document.createElement('ul');
    list.className = 'menu-list';
    list.setAttribute('role', 'menu');
    for (const e of menu.children) {
      const li = document.createElement('li');
      li.id = e.name;
      li.setAttribute('role', 'menuitem');
      const mark = document.createElement('span');
      mark.className = 'check';
      li.append(mark);
      const label = document.createElement('span');
      label.className = 'label';
      const { nodes, letter } = captionNodes(e.caption);
      label.append(nodes);
      li.append(label);
      e.letter = letter;
      e.element = li;
      e.mark = mark;
      if (e.shortcut) {
        const shortcut = document.createElement('span');
        shortcut.className = 'shortcut';
        shortcut.textContent = e.shortcut;
        li.append(shortcut);
      }
      if (e.disabled) {
        li.classList.add('disabled');
        li.setAttribute('aria-disabled', 'true');
        li.title = e.disabled;
      }
      if (e.submenu) {
        li.classList.add('has-submenu');
        e.list = this.buildList(e, li);
      }
      li.addEventListener('mouseenter', () => this.highlight(menu, e, true));
      li.addEventListener('mousedown', (ev) => ev.preventDefault());
      li.addEventListener('click', (ev) => {
        ev.stopPropagation();
        this.activate(menu, e);
      });
      onTouchTap(li, (ev) => {
        ev.stopPropagation();
        this.highlight(menu, e, false);
        this.activate(menu, e);
      });
      list.append(li);
    }
    anchor.append(list);
    return list;
  }

  // An opened menu's list on the screen: a menu's below its title, a
  // submenu's beside its item, to the right or else to the left; where
  // neither fits (a phone), below the item over its own list. Lists taller
  // than the screen scroll.
  place(e, sub) {
    const list = e.list;
    if (!list) return;
    const a = e.element.getBoundingClientRect();
    const w = list.offsetWidth, h = list.offsetHeight;
    const width = window.innerWidth, height = window.innerHeight;
    let left, top;
    if (!sub) {
      left = a.left;
      top = a.bottom;
    } else if (a.right + w <= width) {
      left = a.right;
      top = a.top - 3;
    } else if (a.left - w >= 0) {
      left = a.left - w;
      top = a.top - 3;
    } else {
      left = a.left + Math.min(24, a.width / 4);
      top = a.bottom;
    }
    left = Math.max(0, Math.min(left, width - w));
    top = Math.max(0, Math.min(top, height - h));
    list.style.left = left + 'px';
    list.style.top = top + 'px';
  }

  isOpen() { return this.open.length > 0; }

  closeAll() {
    for (const m of this.open) {
      m.element.classList.remove('open');
      if (m.highlighted) m.highlighted.element.classList.remove('highlighted');
      m.highlighted = null;
    }
    this.open = [];
  }

  openTop(e) {
    this.closeAll();
    this.open = [e];
    this.openedAt = this.bar.scrollLeft;
    e.element.classList.add('open');
    this.place(e, false);
  }

  openSub(e) {
    const depth = this.open.indexOf(this.byName.get(e.parent));
    this.closeFrom(depth + 1);
    this.open.push(e);
    e.element.classList.add('open');
    this.place(e, true);
  }

  closeFrom(depth) {
    while (this.open.length > depth) {
      const m = this.open.pop();
      m.element.classList.remove('open');
      if (m.highlighted) m.highlighted.element.classList.remove('highlighted');
      m.highlighted = null;
    }
  }

  highlight(menu, e, byMouse) {
    const depth = this.open.indexOf(menu);
    if (depth < 0) return;
    if (menu.highlighted === e && (!byMouse || this.open[depth + 1] === e)) return;
    if (menu.highlighted) menu.highlighted.element.classList.remove('highlighted');
    menu.highlighted = e;
    e.element.classList.add('highlighted');
    if (byMouse) {
      if (e.submenu) this.openSub(e);
      else this.closeFrom(depth + 1);
    }
  }

  activate(menu, e) {
    if (e.disabled) return;
    if (e.submenu) {
      if (this.open[this.open.length - 1] !== e) this.openSub(e);
      const first = e.children[0];
      if (first) this.highlight(e, first, false);
      return;
    }
    this.closeAll();
    this.choose(e);
  }

  // Alt + the access letter of a top-level menu opens it; where menus share
  // the letter ("&Beispiele", "Ü&bungen") each press opens the next, as in
  // the window.
  accessMenu(letter) {
    const menus = this.roots.filter((e) => e.letter === letter);
    if (!menus.length) return null;
    this.lastAccess = menus[(menus.indexOf(this.lastAccess) + 1) % menus.length];
    return this.lastAccess;
  }

  // Keys while a menu is open: arrows, Enter, Esc and the access letters.
  key(ev) {
    const menu = this.open[this.open.length - 1];
    const items = menu.children;
    const at = items.indexOf(menu.highlighted);
    switch (ev.key) {
      case 'Escape':
        if (this.open.length > 1) this.closeFrom(this.open.length - 1);
        else this.closeAll();
        return;
      case 'ArrowDown':
      case 'ArrowUp': {
        if (!items.length) return;
        const step = ev.key === 'ArrowDown' ? 1 : -1;
        this.highlight(menu, items[(at + step + items.length) % items.length], false);
        return;
      }
      case 'ArrowRight':
        if (menu.highlighted && menu.highlighted.submenu) {
          this.activate(menu, menu.highlighted);
        } else {
          const i = this.roots.indexOf(this.open[0]);
          this.openTop(this.roots[(i + 1) % this.roots.length]);
        }
        return;
      case 'ArrowLeft':
        if (this.open.length > 1) {
          this.closeFrom(this.open.length - 1);
        } else {
          const i = this.roots.indexOf(this.open[0]);
          this.openTop(this.roots[(i - 1 + this.roots.length) % this.roots.length]);
        }
        return;
      case 'Enter':
      case ' ':
        if (menu.highlighted) this.activate(menu, menu.highlighted);
        return;
      default: {
        const letter = ev.key.length === 1 ? ev.key.toLowerCase() : null;
        const item = letter && items.find((e) => e.letter === letter);
        if (item) {
          this.highlight(menu, item, false);
          this.activate(menu, item);
        }
      }
    }
  }

  setChecks(marks) {
    this.checkable.forEach((e, i) => this.setMark(e, marks[i] === '1'));
  }

  setMark(e, on) {
    if (e.mark) e.mark.textContent = on ? '\u2713' : '';
  }
}
