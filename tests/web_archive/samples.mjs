// What the web archive tests share: their command line, the two sample caches,
// `arkivo warc` run on one of them, and ctest's skip.

import { spawnSync } from "node:child_process";
import fs from "node:fs";
import os from "node:os";
import path from "node:path";

// ctest's SKIP_RETURN_CODE for these tests.
export const SkipCode = 77;

// The two sample caches, each with the arguments that name it and the record
// type of its 20 captures: Internet Explorer kept each response's HTTP head,
// Navigator did not.
export const Samples = [
  { name: "ie", source: (dir) => ["--ie", path.join(dir, "ie")], captures: "response" },
  { name: "netscape", source: (dir) => ["--nav", path.join(dir, "netscape", "FAT.DB")], captures: "resource" },
];
export const SampleItems = 20;

// --name value pairs into an object; the names allowed are given.
export function ParseOptions(argv, names, usage) {
  const options = {};
  for (let i = 0; i < argv.length; i += 2) {
    const name = argv[i]?.replace(/^--/, "");
    if (!argv[i].startsWith("--") || !names.includes(name) || argv[i + 1] === undefined) {
      console.error(`usage: ${usage}`);
      process.exit(2);
    }
    options[name] = argv[i + 1];
  }
  return options;
}

export function TemporaryDirectory() {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), "arkivo-web-archive-"));
  process.on("exit", () => fs.rmSync(dir, { recursive: true, force: true }));
  return dir;
}

// Runs `arkivo warc` on the sample into dir; returns the paths written, or
// throws with what the command printed.
export function ExportSample(arkivo, samplesDir, sample, dir) {
  const files = {
    warc: path.join(dir, `${sample.name}.warc.gz`),
    cdxj: path.join(dir, `${sample.name}.cdxj`),
    wacz: path.join(dir, `${sample.name}.wacz`),
  };
  const args = ["warc", ...sample.source(samplesDir), "--to", files.warc, "--cdxj", files.cdxj, "--wacz", files.wacz];
  const run = spawnSync(arkivo, args, { encoding: "utf8" });
  if (run.status !== 0) {
    throw new Error(`arkivo ${args.join(" ")} exited with ${run.status ?? run.signal}:\n${run.stderr}${run.error ?? ""}`);
  }
  return files;
}
