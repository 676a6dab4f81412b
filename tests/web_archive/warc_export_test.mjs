#!/usr/bin/env node
// `arkivo warc` on both sample caches, its WARC, CDXJ and WACZ checked by
// check_web_archive.mjs and then read by warcio, an independent reader: warcio
// must see every record, and its own CDXJ index of the WARC must agree with
// ours on each capture's key, time, URL, offset, length and digest.
//
//   node warc_export_test.mjs --arkivo BIN --samples DIR --tools DIR
//
// TOOLS is where scripts/test installs the npm tools; without warcio there the
// test reports a skip once the checks of its own have passed.

import { spawnSync } from "node:child_process";
import fs from "node:fs";
import path from "node:path";
import { CheckWebArchive } from "./check_web_archive.mjs";
import { ExportSample, ParseOptions, SampleItems, Samples, SkipCode, TemporaryDirectory } from "./samples.mjs";

const options = ParseOptions(
  process.argv.slice(2),
  ["arkivo", "samples", "tools"],
  "warc_export_test.mjs --arkivo BIN --samples DIR --tools DIR",
);
const warcio = path.join(options.tools, "node_modules", "warcio", "dist", "cli.js");
const haveWarcio = fs.existsSync(warcio);

function Warcio(...args) {
  const run = spawnSync(process.execPath, [warcio, ...args], { encoding: "utf8", maxBuffer: 1 << 28 });
  if (run.status !== 0) throw new Error(`warcio ${args.join(" ")} exited with ${run.status}: ${run.stderr}`);
  return run.stdout.split("\n").filter((line) => line !== "");
}

function Digest(value) {
  return String(value).replace(/^[a-z0-9]+:/, "");
}

// warcio's view of the WARC against ours; returns the problems.
function CrossCheck(files, records, cdxj) {
  const problems = [];
  const indexed = Warcio("index", files.warc, "--fields", "warc-type,warc-record-id,offset,length").map(JSON.parse);
  if (indexed.length !== records.length) {
    problems.push(`warcio index reads ${indexed.length} records, the checker ${records.length}`);
  }
  indexed.forEach((entry, i) => {
    const record = records[i];
    if (record && (entry.offset !== record.offset || entry.length !== record.length || entry["warc-record-id"] !== record.id)) {
      problems.push(`warcio index record ${i} is ${JSON.stringify(entry)}, the checker's ${record.id} at ${record.offset}+${record.length}`);
    }
  });
  const ours = new Map(cdxj.map((line) => [Number(line.offset), line]));
  const theirs = Warcio("cdx-index", files.warc);
  if (theirs.length !== cdxj.length) problems.push(`warcio cdx-index gives ${theirs.length} lines, ours ${cdxj.length}`);
  for (const line of theirs) {
    const match = /^(\S+) (\d{14}) (\{.*\})$/.exec(line);
    const [key, timestamp, json] = match ? [match[1], match[2], JSON.parse(match[3])] : [];
    const our = json && ours.get(Number(json.offset));
    if (!our) {
      problems.push(`warcio cdx-index line has no match in ours: ${line}`);
      continue;
    }
    const same =
      our.key === key &&
      our.timestamp === timestamp &&
      our.url === json.url &&
      Number(our.length) === Number(json.length) &&
      Digest(our.digest) === Digest(json.digest) &&
      our.mime === json.mime;
    if (!same) problems.push(`warcio cdx-index and ours differ:\n  theirs ${line}\n  ours   ${JSON.stringify(our)}`);
  }
  return problems;
}

const dir = TemporaryDirectory();
let failed = false;
for (const sample of Samples) {
  let problems;
  try {
    const files = ExportSample(options.arkivo, options.samples, sample, dir);
    const checked = CheckWebArchive(files);
    console.log(`${sample.name}: ${checked.summary}`);
    problems = checked.problems;
    const captures = checked.records.filter((record) => record.type === sample.captures);
    if (captures.length !== SampleItems || checked.records.length !== 1 + 2 * SampleItems) {
      problems.push(`${captures.length} ${sample.captures} records of ${checked.records.length}, not ${SampleItems} of ${1 + 2 * SampleItems}`);
    }
    if (sample.captures === "response" && captures.some((record) => record.status !== 200 || !record.mime)) {
      problems.push("a response record lacks the stored status line or Content-Type");
    }
    if (haveWarcio && problems.length === 0) {
      problems = CrossCheck(files, checked.records, checked.cdxj);
      console.log(`${sample.name}: warcio read ${checked.records.length} records, ${problems.length} differences`);
    }
  } catch (error) {
    problems = [error.message];
  }
  for (const problem of problems) console.log(`${sample.name}: ${problem}`);
  failed ||= problems.length > 0;
}
if (failed) process.exit(1);
if (!haveWarcio) {
  console.log(`SKIP: warcio is not installed in ${options.tools} (scripts/test installs it); the cross-check did not run`);
  process.exit(SkipCode);
}
