#!/usr/bin/env node
// The WACZ of each sample cache, made by `arkivo warc`, replayed by the
// ReplayWeb.page viewer in headless Chromium: the welcome page must show its
// text and its picture must load, which needs the index, the offsets and the
// stored bodies all to be right.
//
//   node replay_test.mjs --arkivo BIN --samples DIR --tools DIR [--screenshots DIR]
//
// TOOLS holds puppeteer-core and the unpacked viewer (scripts/test installs
// them); with --screenshots each replayed page is saved as
// replay-SAMPLE-sample.png (docs/replay-ie-sample.png is one).
// The test reports a skip when Chromium or those tools are missing.

import fs from "node:fs";
import http from "node:http";
import path from "node:path";
import { ExportSample, ParseOptions, Samples, SkipCode, TemporaryDirectory } from "./samples.mjs";

const Chromium = "/usr/bin/chromium";
const PageUrl = "http://www.tulip-garden.example/welcome.html";
const PageText = "The Linden Lane Bulb Society meets every second Tuesday";
const WaitMilliseconds = 20000;

const options = ParseOptions(
  process.argv.slice(2),
  ["arkivo", "samples", "tools", "screenshots"],
  "replay_test.mjs --arkivo BIN --samples DIR --tools DIR [--screenshots DIR]",
);
const viewer = path.join(options.tools, "replaywebpage");
const puppeteerDir = path.join(options.tools, "node_modules", "puppeteer-core");
const missing = [
  [Chromium, "Chromium (Debian package chromium)"],
  [path.join(puppeteerDir, "package.json"), `puppeteer-core in ${options.tools}`],
  [path.join(viewer, "ui.js"), `replaywebpage's ui.js in ${viewer}`],
  [path.join(viewer, "sw.js"), `replaywebpage's sw.js in ${viewer}`],
].filter(([file]) => !fs.existsSync(file));
if (missing.length) {
  console.log(`SKIP: missing ${missing.map(([, what]) => what).join(", ")} (scripts/test installs them)`);
  process.exit(SkipCode);
}
const { default: puppeteer } = await import(path.join(puppeteerDir, "lib", "esm", "puppeteer", "puppeteer-core.js"));

// The page that embeds the viewer on one sample's WACZ.
function EmbeddingPage(wacz) {
  return `<!doctype html><html><head><script src="./ui.js"></script></head>
<body style="margin:0"><replay-web-page style="height:600px;display:block" source="${wacz}"
 url="${PageUrl}" replayBase="./" embed="replayonly"></replay-web-page></body></html>`;
}

// Serves the viewer, one embedding page per sample and the WACZs from dir,
// with byte ranges, as the viewer reads a WACZ in pieces.
function Serve(dir) {
  const types = { ".js": "application/javascript", ".html": "text/html", ".wacz": "application/zip" };
  const server = http.createServer((request, response) => {
    const name = path.basename(new URL(request.url, "http://127.0.0.1").pathname);
    const sample = Samples.find((s) => name === `${s.name}.html`);
    const file = name === "ui.js" || name === "sw.js" ? path.join(viewer, name) : path.join(dir, name);
    if (!sample && (!/\.(js|wacz)$/.test(name) || !fs.existsSync(file))) {
      response.writeHead(404).end();
      return;
    }
    const body = sample ? Buffer.from(EmbeddingPage(`${sample.name}.wacz`)) : fs.readFileSync(file);
    const headers = { "Content-Type": types[path.extname(name)], "Accept-Ranges": "bytes", "Cache-Control": "no-store" };
    const range = /^bytes=(\d*)-(\d*)$/.exec(request.headers.range ?? "");
    let status = 200;
    let part = body;
    if (range) {
      const start = range[1] === "" ? Math.max(body.length - Number(range[2]), 0) : Number(range[1]);
      const end = range[1] !== "" && range[2] !== "" ? Math.min(Number(range[2]), body.length - 1) : body.length - 1;
      status = 206;
      part = body.subarray(start, end + 1);
      headers["Content-Range"] = `bytes ${start}-${end}/${body.length}`;
    }
    headers["Content-Length"] = part.length;
    response.writeHead(status, headers);
    response.end(request.method === "HEAD" ? undefined : part);
  });
  return new Promise((resolve) => server.listen(0, "127.0.0.1", () => resolve(server)));
}

// What the replayed page shows, read from its frame once it is there.
async function ReplayedPage(page) {
  const deadline = Date.now() + WaitMilliseconds;
  let seen = { text: "", pictures: [] };
  while (Date.now() < deadline) {
    for (const frame of page.frames()) {
      if (!frame.url().includes("welcome.html")) continue;
      try {
        seen = await frame.evaluate(() => ({
          text: document.body?.innerText ?? "",
          pictures: [...document.images].map((img) => ({ src: img.src, width: img.complete ? img.naturalWidth : 0 })),
        }));
      } catch {
        continue; // the frame navigated while it was read
      }
      if (seen.text.includes(PageText) && seen.pictures.some((p) => p.width > 0)) return seen;
    }
    await new Promise((resolve) => setTimeout(resolve, 250));
  }
  return seen;
}

const dir = TemporaryDirectory();
const server = await Serve(dir);
const origin = `http://127.0.0.1:${server.address().port}`;
const browser = await puppeteer.launch({
  executablePath: Chromium,
  userDataDir: path.join(dir, "profile"),
  args: [
    "--headless",
    "--no-sandbox",
    "--disable-gpu",
    "--disable-quic",
    "--no-first-run",
    "--disable-background-networking",
    "--disable-component-update",
    "--disable-sync",
  ],
});
let failed = false;
try {
  for (const sample of Samples) {
    let problem = null;
    try {
      ExportSample(options.arkivo, options.samples, sample, dir);
      const page = await browser.newPage();
      await page.setViewport({ width: 800, height: 600 });
      // The viewer's first load registers its service worker, and an embed
      // fetched before that worker controls the page can be left empty: load
      // again once it is ready, as a person would reload.
      await page.goto(`${origin}/${sample.name}.html`, { waitUntil: "load", timeout: WaitMilliseconds });
      await page.evaluate(() => navigator.serviceWorker.ready.then(() => true));
      await page.reload({ waitUntil: "load", timeout: WaitMilliseconds });
      const seen = await ReplayedPage(page);
      if (!seen.text.includes(PageText)) {
        problem = `the replayed ${PageUrl} does not show "${PageText}"; it shows: ${seen.text.slice(0, 300) || "nothing"}`;
      } else if (!seen.pictures.some((p) => p.width > 0)) {
        problem = `no picture on the replayed ${PageUrl} loaded: ${JSON.stringify(seen.pictures)}`;
      }
      if (options.screenshots) {
        fs.mkdirSync(options.screenshots, { recursive: true });
        await page.screenshot({ path: path.join(options.screenshots, `replay-${sample.name}-sample.png`) });
      }
      await page.close();
    } catch (error) {
      problem = error.message;
    }
    console.log(`${sample.name}: ${problem ?? `replayed ${PageUrl} with its text and picture`}`);
    failed ||= problem !== null;
  }
} finally {
  await browser.close();
  server.close();
}
process.exit(failed ? 1 : 0);
