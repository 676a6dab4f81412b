#!/usr/bin/env node
// Checks a web archive written by `arkivo warc` on its own terms, with Node's
// built-ins only, so that no fault of a shared library hides one of ours:
//
//   node check_web_archive.mjs --warc FILE.warc.gz [--cdxj FILE.cdxj] [--wacz FILE.wacz]
//
// The WARC must be record-at-a-time gzip: each gzip member one complete WARC/1.1
// record with exact lengths and digests, a warcinfo record first and named by
// every other one. Each CDXJ line must point at exactly one member whose record
// has its URL and digest, and each captured record needs exactly one line. A
// WACZ must hold its WARCs stored, list every other file with the right size
// and SHA-256, and its index and pages must fit its WARCs. Each problem is
// printed; the exit status is 1 when there was any.

import crypto from "node:crypto";
import fs from "node:fs";
import path from "node:path";
import { pathToFileURL } from "node:url";
import zlib from "node:zlib";

const CRLF = Buffer.from("\r\n");
const CRLFCRLF = Buffer.from("\r\n\r\n");

const CrcTable = Array.from({ length: 256 }, (_, n) => {
  let c = n;
  for (let k = 0; k < 8; k++) c = c & 1 ? 0xedb88320 ^ (c >>> 1) : c >>> 1;
  return c >>> 0;
});

function Crc32(bytes) {
  let c = 0xffffffff;
  for (const b of bytes) c = CrcTable[(c ^ b) & 0xff] ^ (c >>> 8);
  return (c ^ 0xffffffff) >>> 0;
}

function Base32(bytes) {
  const alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZ234567";
  let bits = 0;
  let value = 0;
  let out = "";
  for (const b of bytes) {
    value = (value << 8) | b;
    bits += 8;
    while (bits >= 5) {
      out += alphabet[(value >>> (bits - 5)) & 31];
      bits -= 5;
    }
  }
  if (bits > 0) out += alphabet[(value << (5 - bits)) & 31];
  return out.padEnd(Math.ceil(out.length / 8) * 8, "=");
}

// A digest field ("sha1:BASE32", or sha256 in base32 or hex) checked against
// the bytes; returns a problem or null.
function DigestProblem(field, bytes) {
  const match = /^(sha1|sha256):([A-Za-z0-9=]+)$/.exec(field);
  if (!match) return `digest "${field}" is not sha1:/sha256: with a value`;
  const hash = crypto.createHash(match[1]).update(bytes).digest();
  const value = match[2];
  if (value === Base32(hash) || value === Base32(hash).replace(/=+$/, "")) return null;
  if (match[1] === "sha256" && value.toLowerCase() === hash.toString("hex")) return null;
  return `digest ${field} does not match the bytes`;
}

function DigestValue(field) {
  return field.includes(":") ? field.slice(field.indexOf(":") + 1) : field;
}

// Splits the file into gzip members: [{offset, length, data}] and problems.
function GzipMembers(bytes, problems) {
  const members = [];
  let at = 0;
  while (at < bytes.length) {
    const start = at;
    if (bytes.length - at < 18 || bytes[at] !== 0x1f || bytes[at + 1] !== 0x8b || bytes[at + 2] !== 8) {
      problems.push(`offset ${start}: not the start of a gzip member`);
      return members;
    }
    const flags = bytes[at + 3];
    at += 10;
    if (flags & 4) at += 2 + bytes.readUInt16LE(at);
    for (const flag of [8, 16]) {
      if (flags & flag) at = bytes.indexOf(0, at) + 1 || bytes.length;
    }
    if (flags & 2) at += 2;
    let inflated;
    try {
      inflated = zlib.inflateRawSync(bytes.subarray(at), { info: true });
    } catch (error) {
      problems.push(`offset ${start}: gzip member does not inflate: ${error.message}`);
      return members;
    }
    at += inflated.engine.bytesWritten;
    if (at + 8 > bytes.length) {
      problems.push(`offset ${start}: gzip member has no trailer`);
      return members;
    }
    const data = inflated.buffer;
    if (bytes.readUInt32LE(at) !== Crc32(data) || bytes.readUInt32LE(at + 4) !== data.length % 2 ** 32) {
      problems.push(`offset ${start}: gzip trailer CRC or size is wrong`);
    }
    at += 8;
    members.push({ offset: start, length: at - start, data });
  }
  return members;
}

// Header lines up to the empty line: {fields: Map(lower name -> [values]), end}
// or a problem string.
function ParseFields(data, from) {
  const end = data.indexOf(CRLFCRLF, from);
  if (end < 0) return "header has no CRLF CRLF end";
  const fields = new Map();
  const text = data.subarray(from, end).toString("latin1");
  if (/\r(?!\n)|(?<!\r)\n/.test(text)) return "header line not ended by CRLF";
  for (const line of text.length ? text.split("\r\n") : []) {
    const colon = line.indexOf(":");
    if (colon <= 0 || /\s/.test(line[0])) return `malformed header line "${line}"`;
    const name = line.slice(0, colon).toLowerCase();
    fields.set(name, [...(fields.get(name) ?? []), line.slice(colon + 1).trim()]);
  }
  return { fields, end: end + 4 };
}

function One(fields, name) {
  const values = fields.get(name.toLowerCase());
  return values && values.length === 1 ? values[0] : undefined;
}

const WarcTypes = ["warcinfo", "response", "resource", "request", "metadata", "revisit", "conversion", "continuation"];

// Parses one WARC record filling a member exactly; pushes problems.
function ParseRecord(data, where, problems) {
  const versionEnd = data.indexOf(CRLF);
  if (versionEnd < 0 || data.subarray(0, versionEnd).toString("latin1") !== "WARC/1.1") {
    problems.push(`${where}: does not start with the line WARC/1.1`);
    return null;
  }
  const header = ParseFields(data, versionEnd + 2);
  if (typeof header === "string") {
    problems.push(`${where}: ${header}`);
    return null;
  }
  const { fields } = header;
  for (const [name, values] of fields) {
    if (values.length > 1 && name !== "warc-concurrent-to") problems.push(`${where}: field ${name} repeated`);
  }
  const lengthText = One(fields, "Content-Length");
  if (!/^\d+$/.test(lengthText ?? "")) {
    problems.push(`${where}: Content-Length missing or not a number`);
    return null;
  }
  const length = Number(lengthText);
  const block = data.subarray(header.end, header.end + length);
  const tail = data.subarray(header.end + length);
  if (block.length !== length || !tail.equals(CRLFCRLF)) {
    problems.push(
      `${where}: block of Content-Length ${length} is not followed by exactly CRLF CRLF and the member's end ` +
        `(${data.length - header.end} bytes after the header)`,
    );
  }
  const record = {
    where,
    type: One(fields, "WARC-Type"),
    id: One(fields, "WARC-Record-ID"),
    date: One(fields, "WARC-Date"),
    uri: One(fields, "WARC-Target-URI"),
    fields,
    block,
  };
  if (!/^<urn:uuid:[0-9a-f]{8}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{12}>$/i.test(record.id ?? "")) {
    problems.push(`${where}: WARC-Record-ID "${record.id}" is not <urn:uuid:...>`);
  }
  if (!/^\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d(\.\d{1,9})?Z$/.test(record.date ?? "")) {
    problems.push(`${where}: WARC-Date "${record.date}" is not YYYY-MM-DDThh:mm:ssZ`);
  }
  if (!WarcTypes.includes(record.type)) problems.push(`${where}: WARC-Type "${record.type}" unknown`);
  const contentType = One(fields, "Content-Type");
  if (length > 0 && !contentType) problems.push(`${where}: non-empty block without Content-Type`);
  const blockDigest = One(fields, "WARC-Block-Digest");
  if (blockDigest) {
    const problem = DigestProblem(blockDigest, block);
    if (problem) problems.push(`${where}: WARC-Block-Digest: ${problem}`);
  } else if (record.type === "response" || record.type === "resource") {
    problems.push(`${where}: no WARC-Block-Digest`);
  }
  if (record.type === "response" || record.type === "resource") CheckCapture(record, contentType, problems);
  return record;
}

// What a response or resource must carry: a target URI, its payload (for a
// response, the entity after the HTTP header) with its digest, and for a
// response an HTTP header that describes the stored entity.
function CheckCapture(record, contentType, problems) {
  const { where, fields, block } = record;
  try {
    new URL(record.uri ?? "");
  } catch {
    problems.push(`${where}: WARC-Target-URI "${record.uri}" is not a URL`);
  }
  record.payload = block;
  record.mime = (contentType ?? "").split(";")[0].trim();
  if (record.type === "response") {
    if (!/^application\/http;\s*msgtype=response$/i.test(contentType ?? "")) {
      problems.push(`${where}: response Content-Type "${contentType}" is not application/http; msgtype=response`);
    }
    const statusEnd = block.indexOf(CRLF);
    const status = /^HTTP\/1\.[01] (\d{3})( .*)?$/.exec(block.subarray(0, Math.max(statusEnd, 0)).toString("latin1"));
    const http = statusEnd < 0 ? "no status line" : ParseFields(block, statusEnd + 2);
    if (!status || typeof http === "string") {
      problems.push(`${where}: response block is not an HTTP status line and header`);
      return;
    }
    record.status = Number(status[1]);
    record.payload = block.subarray(http.end);
    record.mime = (One(http.fields, "Content-Type") ?? "").split(";")[0].trim();
    const declared = One(http.fields, "Content-Length");
    if (declared !== undefined && Number(declared) !== record.payload.length) {
      problems.push(`${where}: HTTP Content-Length ${declared} but the entity has ${record.payload.length} bytes`);
    }
    if (http.fields.has("transfer-encoding")) {
      problems.push(`${where}: Transfer-Encoding kept although the entity is stored whole`);
    }
    const encoding = One(http.fields, "Content-Encoding");
    if (encoding && encoding !== "identity") {
      try {
        (encoding === "br" ? zlib.brotliDecompressSync : zlib.unzipSync)(record.payload);
      } catch {
        problems.push(`${where}: Content-Encoding ${encoding} but the entity is not so encoded`);
      }
    }
  }
  const payloadDigest = One(fields, "WARC-Payload-Digest");
  if (!payloadDigest) {
    problems.push(`${where}: no WARC-Payload-Digest`);
    return;
  }
  record.payloadDigest = payloadDigest;
  const problem = DigestProblem(payloadDigest, record.payload);
  if (problem) problems.push(`${where}: WARC-Payload-Digest: ${problem}`);
}

// Checks a whole .warc.gz held in bytes; returns its members and records.
export function CheckWarc(bytes, name, problems, { fileName } = {}) {
  const memberProblems = [];
  const members = GzipMembers(bytes, memberProblems);
  problems.push(...memberProblems.map((p) => `${name}: ${p}`));
  const records = [];
  const seen = new Map();
  for (const member of members) {
    const record = ParseRecord(member.data, `${name}@${member.offset}`, problems);
    member.record = record;
    if (!record) continue;
    record.offset = member.offset;
    record.length = member.length;
    if (seen.has(record.id)) problems.push(`${record.where}: WARC-Record-ID ${record.id} used before`);
    const first = records[0];
    if (!first) {
      if (record.type !== "warcinfo") problems.push(`${record.where}: first record is ${record.type}, not warcinfo`);
      else CheckWarcinfo(record, fileName, problems);
    } else if (first.type === "warcinfo" && One(record.fields, "WARC-Warcinfo-ID") !== first.id) {
      problems.push(`${record.where}: WARC-Warcinfo-ID does not name the warcinfo record ${first.id}`);
    }
    if (record.type === "metadata") {
      const refersTo = One(record.fields, "WARC-Refers-To") ?? One(record.fields, "WARC-Concurrent-To");
      const target = seen.get(refersTo);
      if (!target) {
        problems.push(`${record.where}: metadata refers to ${refersTo}, which is no earlier record`);
      } else if (record.uri !== undefined && record.uri !== target.uri) {
        problems.push(`${record.where}: metadata WARC-Target-URI ${record.uri} is not its record's ${target.uri}`);
      }
    }
    seen.set(record.id, record);
    records.push(record);
  }
  if (members.length === 0 && memberProblems.length === 0) problems.push(`${name}: holds no record`);
  return { members, records };
}

function CheckWarcinfo(record, fileName, problems) {
  if (!/^application\/warc-fields/.test(One(record.fields, "Content-Type") ?? "")) {
    problems.push(`${record.where}: warcinfo Content-Type is not application/warc-fields`);
  }
  const named = One(record.fields, "WARC-Filename");
  if (fileName !== undefined && named !== fileName) {
    problems.push(`${record.where}: WARC-Filename "${named}" does not name the file ${fileName}`);
  }
}

// The SURT form of a URL as CDXJ keys it: host labels reversed without a
// leading www, no scheme or default port, lower case, query arguments sorted.
function Surt(url) {
  const parsed = new URL(url.toLowerCase().replace(/^(https?:\/\/)www\d*\./, "$1"));
  let key = parsed.hostname.split(".").reverse().join(",");
  if (parsed.port) key += `:${parsed.port}`;
  key += `)${parsed.pathname}`;
  if (parsed.search) key += `?${parsed.search.slice(1).split("&").sort().join("&")}`;
  return key;
}

// Checks CDXJ text against the WARCs it may name: warcs maps a file name to
// the result of CheckWarc. Returns the parsed lines.
export function CheckCdxj(text, name, warcs, problems) {
  const lines = text.split("\n");
  if (lines.at(-1) === "") lines.pop();
  else problems.push(`${name}: does not end with a newline`);
  const entries = [];
  const counts = new Map();
  lines.forEach((line, index) => {
    const where = `${name}:${index + 1}`;
    if (index > 0 && Buffer.compare(Buffer.from(lines[index - 1]), Buffer.from(line)) > 0) {
      problems.push(`${where}: not in bytewise order after the line before`);
    }
    const match = /^(\S+) (\d{14}) (\{.*\})$/.exec(line);
    if (!match) {
      problems.push(`${where}: not "KEY TIMESTAMP {JSON}"`);
      return;
    }
    let json;
    try {
      json = JSON.parse(match[3]);
    } catch (error) {
      problems.push(`${where}: JSON does not parse: ${error.message}`);
      return;
    }
    for (const field of ["url", "mime", "digest", "length", "offset", "filename"]) {
      if (json[field] === undefined) problems.push(`${where}: no "${field}"`);
    }
    entries.push({ key: match[1], timestamp: match[2], ...json });
    const warc = warcs.get(json.filename);
    if (!warc) {
      problems.push(`${where}: filename "${json.filename}" is not a WARC of this archive`);
      return;
    }
    const member = warc.members.find((m) => m.offset === Number(json.offset));
    if (!member || member.length !== Number(json.length)) {
      problems.push(`${where}: offset ${json.offset} length ${json.length} is not one gzip member of ${json.filename}`);
      return;
    }
    const record = member.record;
    if (!record) return;
    counts.set(record, (counts.get(record) ?? 0) + 1);
    if (record.type !== "response" && record.type !== "resource") {
      problems.push(`${where}: points at a ${record.type} record`);
      return;
    }
    if (json.url !== record.uri) problems.push(`${where}: url ${json.url} but the record is of ${record.uri}`);
    else if (match[1] !== Surt(json.url)) problems.push(`${where}: key ${match[1]} is not the SURT ${Surt(json.url)}`);
    if (match[2] !== record.date.replace(/[-:T]/g, "").slice(0, 14)) {
      problems.push(`${where}: timestamp ${match[2]} is not the record's date ${record.date}`);
    }
    if (record.payloadDigest && DigestValue(String(json.digest)) !== DigestValue(record.payloadDigest)) {
      problems.push(`${where}: digest ${json.digest} is not the payload digest ${record.payloadDigest}`);
    }
    if (json.mime !== record.mime) problems.push(`${where}: mime ${json.mime} is not the record's ${record.mime}`);
    if (json.status !== undefined && Number(json.status) !== (record.status ?? 200)) {
      problems.push(`${where}: status ${json.status} is not the record's ${record.status}`);
    }
  });
  for (const [file, warc] of warcs) {
    for (const record of warc.records) {
      const count = counts.get(record) ?? 0;
      if ((record.type === "response" || record.type === "resource") && count !== 1) {
        problems.push(`${name}: ${file}@${record.offset} (${record.uri}) has ${count} lines, not one`);
      }
    }
  }
  return entries;
}

// The entries of a ZIP from its central directory (zip64 fields read when
// present), each with its data checked against size and CRC.
function ZipEntries(bytes, name, problems) {
  const eocd = bytes.lastIndexOf(Buffer.from([0x50, 0x4b, 0x05, 0x06]));
  if (eocd < 0 || eocd + 22 > bytes.length) {
    problems.push(`${name}: no ZIP end of central directory`);
    return [];
  }
  let count = bytes.readUInt16LE(eocd + 10);
  let dirOffset = bytes.readUInt32LE(eocd + 16);
  const locator = eocd - 20;
  if (locator >= 0 && bytes.readUInt32LE(locator) === 0x07064b50) {
    const zip64 = Number(bytes.readBigUInt64LE(locator + 8));
    count = Number(bytes.readBigUInt64LE(zip64 + 32));
    dirOffset = Number(bytes.readBigUInt64LE(zip64 + 48));
  }
  const entries = [];
  let at = dirOffset;
  for (let i = 0; i < count; i++) {
    if (at + 46 > bytes.length || bytes.readUInt32LE(at) !== 0x02014b50) {
      problems.push(`${name}: central directory entry ${i} is damaged`);
      return entries;
    }
    const entry = {
      method: bytes.readUInt16LE(at + 10),
      crc: bytes.readUInt32LE(at + 16),
      compressed: bytes.readUInt32LE(at + 20),
      size: bytes.readUInt32LE(at + 24),
      name: bytes.subarray(at + 46, at + 46 + bytes.readUInt16LE(at + 28)).toString("utf8"),
      local: bytes.readUInt32LE(at + 42),
    };
    const extraStart = at + 46 + bytes.readUInt16LE(at + 28);
    const extra = bytes.subarray(extraStart, extraStart + bytes.readUInt16LE(at + 30));
    for (let x = 0; x + 4 <= extra.length; x += 4 + extra.readUInt16LE(x + 2)) {
      if (extra.readUInt16LE(x) !== 1) continue;
      let field = x + 4;
      for (const key of ["size", "compressed", "local"]) {
        if (entry[key] === 0xffffffff) {
          entry[key] = Number(extra.readBigUInt64LE(field));
          field += 8;
        }
      }
    }
    at = extraStart + extra.length + bytes.readUInt16LE(at + 32);
    if (bytes.readUInt32LE(entry.local) !== 0x04034b50) {
      problems.push(`${name}: ${entry.name}: no local header at ${entry.local}`);
      continue;
    }
    const localProblem = LocalHeaderProblem(bytes, entry);
    if (localProblem) problems.push(`${name}: ${entry.name}: local header ${localProblem}`);
    const dataStart = entry.local + 30 + bytes.readUInt16LE(entry.local + 26) + bytes.readUInt16LE(entry.local + 28);
    const stored = bytes.subarray(dataStart, dataStart + entry.compressed);
    try {
      entry.data = entry.method === 0 ? stored : zlib.inflateRawSync(stored);
    } catch (error) {
      problems.push(`${name}: ${entry.name}: does not inflate: ${error.message}`);
      continue;
    }
    if (entry.data.length !== entry.size || Crc32(entry.data) !== entry.crc) {
      problems.push(`${name}: ${entry.name}: size or CRC does not match its data`);
    }
    if (entries.some((e) => e.name === entry.name)) problems.push(`${name}: ${entry.name} is in the ZIP twice`);
    entries.push(entry);
  }
  return entries;
}

// Readers that stream a ZIP, or fetch one entry by range, trust the local
// header: it must agree with the central directory, and a zip64 extra field
// there must give the entry's real sizes.
function LocalHeaderProblem(bytes, entry) {
  const at = entry.local;
  const nameLength = bytes.readUInt16LE(at + 26);
  const extra = bytes.subarray(at + 30 + nameLength, at + 30 + nameLength + bytes.readUInt16LE(at + 28));
  if (bytes.subarray(at + 30, at + 30 + nameLength).toString("utf8") !== entry.name) return "names another file";
  if (bytes.readUInt16LE(at + 8) !== entry.method) return "gives another compression method";
  const sizes = [bytes.readUInt32LE(at + 22), bytes.readUInt32LE(at + 18)];
  for (let x = 0; x + 4 <= extra.length; x += 4 + extra.readUInt16LE(x + 2)) {
    if (extra.readUInt16LE(x) !== 1) continue;
    if (extra.readUInt16LE(x + 2) < 16) return "has a zip64 field without both sizes";
    sizes[0] = Number(extra.readBigUInt64LE(x + 4));
    sizes[1] = Number(extra.readBigUInt64LE(x + 12));
    if (sizes[0] !== entry.size || sizes[1] !== entry.compressed) {
      return `has a zip64 field giving sizes ${sizes[0]} and ${sizes[1]}, not ${entry.size} and ${entry.compressed}`;
    }
  }
  const descriptor = bytes.readUInt16LE(at + 6) & 8;
  if (!descriptor && (bytes.readUInt32LE(at + 14) !== entry.crc || sizes[0] !== entry.size || sizes[1] !== entry.compressed)) {
    return "gives another CRC or size than the central directory";
  }
  return null;
}

function Sha256(bytes) {
  return `sha256:${crypto.createHash("sha256").update(bytes).digest("hex")}`;
}

function ParseJson(bytes, where, problems) {
  try {
    return JSON.parse(bytes.toString("utf8"));
  } catch (error) {
    problems.push(`${where}: JSON does not parse: ${error.message}`);
    return null;
  }
}

// Checks a WACZ held in bytes; returns the records of its WARCs and its pages.
export function CheckWacz(bytes, name, problems) {
  const entries = ZipEntries(bytes, name, problems);
  const byName = new Map(entries.filter((e) => e.data).map((e) => [e.name, e]));
  const warcs = new Map();
  for (const entry of byName.values()) {
    if (!entry.name.startsWith("archive/")) continue;
    if (entry.method !== 0) problems.push(`${name}: ${entry.name} is compressed in the ZIP, not stored`);
    const file = entry.name.slice("archive/".length);
    warcs.set(file, CheckWarc(entry.data, `${name}/${entry.name}`, problems));
  }
  if (warcs.size === 0) problems.push(`${name}: no archive/ WARC`);

  const packageEntry = byName.get("datapackage.json");
  const datapackage = packageEntry ? ParseJson(packageEntry.data, `${name}/datapackage.json`, problems) : null;
  if (!packageEntry) problems.push(`${name}: no datapackage.json`);
  if (datapackage) {
    const listed = new Set();
    for (const resource of datapackage.resources ?? []) {
      const entry = byName.get(resource.path);
      listed.add(resource.path);
      if (!entry) problems.push(`${name}: datapackage.json lists ${resource.path}, which is not in the ZIP`);
      else if (resource.hash !== Sha256(entry.data) || resource.bytes !== entry.data.length) {
        problems.push(`${name}: datapackage.json gives ${resource.path} a wrong hash or byte size`);
      }
    }
    for (const entry of byName.values()) {
      const own = entry.name === "datapackage.json" || entry.name === "datapackage-digest.json";
      if (!own && !entry.name.endsWith("/") && !listed.has(entry.name)) {
        problems.push(`${name}: ${entry.name} is not listed in datapackage.json`);
      }
    }
  }
  const digestEntry = byName.get("datapackage-digest.json");
  const digest = digestEntry ? ParseJson(digestEntry.data, `${name}/datapackage-digest.json`, problems) : null;
  if (!digestEntry) problems.push(`${name}: no datapackage-digest.json`);
  if (digest && packageEntry && (digest.path !== "datapackage.json" || digest.hash !== Sha256(packageEntry.data))) {
    problems.push(`${name}: datapackage-digest.json does not hold the hash of datapackage.json`);
  }

  const index = byName.get("indexes/index.cdxj");
  if (index) CheckCdxj(index.data.toString("utf8"), `${name}/indexes/index.cdxj`, warcs, problems);
  else problems.push(`${name}: no indexes/index.cdxj`);

  const uris = new Set([...warcs.values()].flatMap((w) => w.records.map((r) => r.uri)));
  const pagesEntry = byName.get("pages/pages.jsonl");
  if (!pagesEntry) problems.push(`${name}: no pages/pages.jsonl`);
  const pages = [];
  const lines = pagesEntry ? pagesEntry.data.toString("utf8").split("\n").filter((l) => l !== "") : [];
  lines.forEach((line, i) => {
    const where = `${name}/pages/pages.jsonl:${i + 1}`;
    const page = ParseJson(Buffer.from(line), where, problems);
    if (!page) return;
    if (i === 0) {
      if (page.format !== "json-pages-1.0") problems.push(`${where}: header has no "format": "json-pages-1.0"`);
      return;
    }
    for (const field of ["url", "ts", "title"]) {
      if (typeof page[field] !== "string") problems.push(`${where}: no "${field}"`);
    }
    if (!uris.has(page.url)) problems.push(`${where}: page ${page.url} has no record`);
    pages.push(page);
  });
  return { warcs, pages };
}

// Checks the files given (any of warc, cdxj with warc, wacz); returns the
// problems, a summary line, the WARC's records and the CDXJ's lines.
export function CheckWebArchive(options) {
  const problems = [];
  const summary = [];
  const result = { problems, records: [], cdxj: [] };
  if (options.warc) {
    const fileName = path.basename(options.warc);
    const warc = CheckWarc(fs.readFileSync(options.warc), options.warc, problems, { fileName });
    result.records = warc.records;
    summary.push(`${options.warc}: ${warc.records.length} records`);
    if (options.cdxj) {
      const warcs = new Map([[fileName, warc]]);
      result.cdxj = CheckCdxj(fs.readFileSync(options.cdxj, "utf8"), options.cdxj, warcs, problems);
      summary.push(`${options.cdxj}: ${result.cdxj.length} lines`);
    }
  }
  if (options.wacz) {
    const wacz = CheckWacz(fs.readFileSync(options.wacz), options.wacz, problems);
    summary.push(`${options.wacz}: ${wacz.warcs.size} WARC, ${wacz.pages.length} pages`);
  }
  result.summary = `${problems.length ? "FAILED" : "ok"}: ${summary.join("; ")}; ${problems.length} problems`;
  return result;
}

function Main(argv) {
  const options = {};
  for (let i = 0; i < argv.length; i += 2) {
    if (!["--warc", "--cdxj", "--wacz"].includes(argv[i]) || argv[i + 1] === undefined) {
      console.error("usage: check_web_archive.mjs --warc FILE [--cdxj FILE] [--wacz FILE]");
      return 2;
    }
    options[argv[i].slice(2)] = argv[i + 1];
  }
  if (!options.warc && !options.wacz) {
    console.error("check_web_archive.mjs: give --warc, --wacz or both");
    return 2;
  }
  if (options.cdxj && !options.warc) {
    console.error("check_web_archive.mjs: --cdxj needs the --warc it indexes");
    return 2;
  }
  try {
    const { problems, summary } = CheckWebArchive(options);
    for (const problem of problems) console.log(problem);
    console.log(summary);
    return problems.length ? 1 : 0;
  } catch (error) {
    // A file cut short inside a structure the checks walk.
    console.log(`FAILED: ${error.message}`);
    return 1;
  }
}

if (import.meta.url === pathToFileURL(process.argv[1]).href) process.exitCode = Main(process.argv.slice(2));
