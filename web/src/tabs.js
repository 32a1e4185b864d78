// Tabs as the ARIA pattern has them: one tab stop for the row, the arrow
// keys, Home and End move between the tabs, and each tab shows its panel.

export function setUpTabs(onShow) {
  const tabs = [...document.querySelectorAll('[role="tab"]')];
  const select = (tab, focus) => {
    for (const other of tabs) {
      const selected = other === tab;
      other.setAttribute('aria-selected', String(selected));
      other.tabIndex = selected ? 0 : -1;
      document.getElementById(other.getAttribute('aria-controls')).hidden = !selected;
    }
    if (focus) tab.focus();
    onShow(tab.id.replace(/^tab-/, ''));
  };
  for (const tab of tabs) {
    tab.addEventListener('click', () => select(tab, false));
    tab.addEventListener('keydown', (event) => {
      const at = tabs.indexOf(tab);
      const next = {
        ArrowRight: tabs[(at + 1) % tabs.length],
        ArrowLeft: tabs[(at + tabs.length - 1) % tabs.length],
        Home: tabs[0],
        End: tabs[tabs.length - 1],
      }[event.key];
      if (next) {
        event.preventDefault();
        select(next, true);
      }
    });
  }
}
