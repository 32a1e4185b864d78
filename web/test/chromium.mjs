// Debian's Chromium, started for the page's tests and benchmark: headless,
// in a fresh profile, with nothing that reaches out of this machine, and
// allowed to reach only the local server.
import { mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { chromium } from 'playwright-core';

export const CHROMIUM = process.env.TARNEL_CHROMIUM ?? '/usr/bin/chromium';

// Resolves to {context, close}; close() ends the browser and removes the
// profile.
export async function startChromium({ viewport = { width: 1280, height: 800 } } = {}) {
  const profile = mkdtempSync(join(tmpdir(), 'tarnel-chromium-'));
  const context = await chromium.launchPersistentContext(profile, {
    executablePath: CHROMIUM,
    headless: true,
    acceptDownloads: true,
    viewport,
    args: [
      '--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync',
    ],
  });
  await context.route(/^(?!http:\/\/127\.0\.0\.1:)(?!data:)(?!blob:)/, (route) => route.abort());
  return {
    context,
    close: async () => {
      await context.close();
      rmSync(profile, { recursive: true, force: true });
    },
  };
}
