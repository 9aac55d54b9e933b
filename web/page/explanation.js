// The explanatory page of the topic on screen as text at the top of the side
// panel, above the values: the core's parsed page (see PageHost::explanation)
// laid out with its swatches, in the panel's font and at least 14 px,
// scrolling where it is longer than its part of the panel.

const KINDS = { T: 'page-title', P: 'page-paragraph', B: 'page-bullet', L: 'page-legend' };

// The page's font for the panel's font size, as in the window.
export function pagePixels(textPixels) { return Math.max(14, Math.floor(textPixels * 4 / 5)); }

export class Explanation {
  constructor(element) {
    this.element = element;
    this.text = null;  // the page shown, as the core gave it
  }

  get shown() { return !this.element.hidden; }

  setPixels(pixels) {
    this.element.style.fontSize = pixels + 'px';
    this.element.style.padding = (Math.floor(pixels / 2) + 1) + 'px';
  }

  // The core's text; an empty one hides the part.
  setText(text) {
    if (text === this.text) return;
    this.text = text;
    const lines = text.split('\n');
    this.element.hidden = !text;
    if (!text) {
      this.element.replaceChildren();
      return;
    }
    const number = lines.shift();
    const nodes = [];
    let list = null;
    for (const line of lines.filter(Boolean)) {
      const [kind, ...runs] = line.split('\x1f');
      const block = document.createElement(kind === 'B' ? 'li' : 'p');
      block.className = KINDS[kind] || 'page-paragraph';
      runs.forEach((run, i) => {
        if (i > 0) block.append(' ');
        if (run.startsWith('\x1e')) {
          const swatch = document.createElement('span');
          swatch.className = 'swatch';
          swatch.style.backgroundColor = run.slice(1);
          block.append(swatch);
        } else {
          block.append(run);
        }
      });
      if (kind === 'B') {
        if (!list) {
          list = document.createElement('ul');
          nodes.push(list);
        }
        list.append(block);
        continue;
      }
      list = null;
      nodes.push(block);
      if (kind === 'T' && number) {
        const n = document.createElement('p');
        n.className = 'page-number';
        n.textContent = number;
        nodes.push(n);
      }
    }
    this.element.replaceChildren(...nodes);
    this.element.scrollTop = 0;
  }
}
