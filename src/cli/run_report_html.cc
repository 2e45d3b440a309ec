#include "cli/run_report_html.h"

#include <filesystem>
#include <set>
#include <system_error>

#include "cli/json_writer.h"
#include "cli/run_results_json.h"

namespace mx::cli {

namespace {

namespace fs = std::filesystem;

// JSON inside a script element: "<" never appears outside a string of the
// JSON, and "\u003c" keeps "</script>" and "<!--" out of the page's text.
std::string ScriptSafe(const std::string& json) {
  std::string out;
  for (char c : json) {
    if (c == '<') {
      out += "\\u003c";
    } else {
      out += c;
    }
  }
  return out;
}

std::string PercentEncoded(const std::string& path) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : path) {
    const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                       (c >= '0' && c <= '9') || c == '-' || c == '_' ||
                       c == '.' || c == '~' || c == '/';
    if (plain) {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
  return out;
}

// The links of every file the run wrote, by path as the results name it.
std::string LinksJson(const RunResults& results,
                      const std::string& report_path) {
  std::set<std::string> paths;
  for (const TableResult& table : results.tables) {
    for (const WrittenFile& file : table.files) paths.insert(WrittenPath(file));
  }
  for (const WrittenFile& file : results.run_files) {
    paths.insert(WrittenPath(file));
  }
  // Keys are system paths (UTF-8), as the results name the files.
  std::string links;
  for (const std::string& path : paths) {
    if (!links.empty()) links += ",";
    links += JsonUtf8String(path) + ":" +
             JsonUtf8String(RelativeLink(report_path, path));
  }
  return "{" + links + "}";
}

constexpr char kHead[] = R"HTML(<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<title>movx20xmlgen run report</title>
<style>
body { font: 14px/1.4 system-ui, sans-serif; margin: 24px; color: #222; }
h1 { font-size: 20px; margin: 0 0 4px; }
h2 { font-size: 16px; margin: 24px 0 8px; }
.meta { color: #555; margin-bottom: 12px; }
.run-error { background: #fde8e8; border: 1px solid #e0a0a0; padding: 8px; }
.bar { display: flex; height: 22px; border-radius: 4px; overflow: hidden;
       background: #eee; max-width: 900px; }
.bar div { height: 100%; }
.counts { margin: 8px 0; }
.counts span { margin-right: 18px; white-space: nowrap; }
.swatch { display: inline-block; width: 10px; height: 10px; margin-right: 4px; }
.successful, .written { background: #3c9a5f; }
.mscript, .mscript_member { background: #5b8bd0; }
.no_mapping { background: #c9a227; }
.skipped_status { background: #b07cc6; }
.errors, .error { background: #d04a4a; }
.other { background: #aaa; }
.filters button { margin: 0 6px 8px 0; padding: 3px 10px; border: 1px solid #999;
                  border-radius: 12px; background: #fff; cursor: pointer; }
.filters button.active { background: #333; color: #fff; }
table { border-collapse: collapse; width: 100%; }
th, td { text-align: left; padding: 4px 8px; border-bottom: 1px solid #ddd;
         vertical-align: top; }
th { cursor: pointer; user-select: none; background: #f4f4f4; }
th.sorted-asc::after { content: " \25B2"; }
th.sorted-desc::after { content: " \25BC"; }
td.status span { color: #fff; padding: 1px 6px; border-radius: 3px; }
.failures li { margin-bottom: 6px; }
code { font-family: ui-monospace, monospace; }
</style>
</head>
<body>
<noscript>This report draws itself with its own script; the data is the run's
results file, held in the page.</noscript>
<div id="report"></div>
<script type="application/json" id="run-results">)HTML";

constexpr char kBetween[] = R"HTML(</script>
<script type="application/json" id="links">)HTML";

constexpr char kScript[] = R"HTML(</script>
<script>
(function () {
  const data = JSON.parse(document.getElementById("run-results").textContent);
  const links = JSON.parse(document.getElementById("links").textContent);
  const root = document.getElementById("report");
  const statuses = ["written", "mscript_member", "skipped_status",
                    "no_mapping", "error"];
  const counts = ["successful", "mscript", "no_mapping", "errors"];

  function el(tag, attrs, children) {
    const node = document.createElement(tag);
    for (const [k, v] of Object.entries(attrs || {})) node.setAttribute(k, v);
    for (const child of children || []) {
      node.append(child instanceof Node ? child : String(child));
    }
    return node;
  }
  // A document is named below the output folder, any other file in full.
  const folder = data.settings.xml_path.replace(/\/+$/, "") + "/";
  function fileLinks(files) {
    const cell = el("td");
    files.forEach(function (f, i) {
      if (i) cell.append(el("br"));
      const name = f.path.startsWith(folder) ? f.path.slice(folder.length)
                                             : f.path;
      cell.append(el("a", {href: links[f.path] || f.path, title: f.path}, [name]),
                  " (" + f.bytes + " bytes)");
    });
    return cell;
  }
  function errorText(e) {
    return (e.number === null ? "" : "error " + e.number + ": ") + e.description;
  }

  const s = data.settings;
  root.append(el("h1", {}, ["Run of " + s.class + ", profile " + s.profile]));
  root.append(el("div", {class: "meta"}, [
    "Started " + data.started_at + ", ended " + data.ended_at + " (" +
    Number(data.elapsed_time).toFixed(3) + " s). GenerateXMLFile returned " +
    (data.result ? "True" : "False") +
    (data.interrupted ? "; the run was stopped." : ".")]));
  if (data.error) {
    root.append(el("div", {class: "run-error", id: "run-error"},
                   ["The run ended with " + errorText(data.error)]));
  }

  root.append(el("h2", {}, ["Summary"]));
  const total = data.summary.total;
  const bar = el("div", {class: "bar", id: "bar"});
  let counted = 0;
  for (const name of counts) {
    counted += data.summary[name];
    if (total > 0 && data.summary[name] > 0) {
      bar.append(el("div", {class: name, title: name + " " + data.summary[name],
                            style: "width:" + (100 * data.summary[name] / total) + "%"}));
    }
  }
  if (total > counted) {
    bar.append(el("div", {class: "other", title: "total only " + (total - counted),
                          style: "width:" + (100 * (total - counted) / total) + "%"}));
  }
  root.append(bar);
  const legend = el("div", {class: "counts"});
  for (const name of counts) {
    legend.append(el("span", {}, [el("i", {class: "swatch " + name}), name + " ",
                                  el("b", {id: "count-" + name}, [data.summary[name]])]));
  }
  legend.append(el("span", {}, ["total ", el("b", {id: "count-total"}, [total])]));
  root.append(legend);

  root.append(el("h2", {}, ["Target tables"]));
  root.append(el("div", {class: "meta"}, ["Documents in " + s.xml_path]));
  const filters = el("div", {class: "filters", id: "filters"});
  root.append(filters);
  const columns = [["n", "#"], ["code", "Code"], ["status", "Status"],
                   ["status_letter", "Letter"], ["profile", "Profile"],
                   ["message", "Error or reason"], ["documents", "Documents"],
                   ["execution_time", "Seconds"]];
  const head = el("tr");
  for (const [key, label] of columns) head.append(el("th", {"data-key": key}, [label]));
  const body = el("tbody");
  const table = el("table", {id: "objects"}, [el("thead", {}, [head]), body]);
  root.append(table);

  const rows = data.results.map(function (r, i) {
    const message = r.error ? errorText(r.error) : (r.reason || "");
    const tr = el("tr", {"data-status": r.status}, [
      el("td", {}, [i + 1]), el("td", {}, [el("code", {}, [r.code])]),
      el("td", {class: "status"}, [el("span", {class: r.status}, [r.status])]),
      el("td", {}, [r.status_letter || ""]),
      el("td", {}, [r.profile === null ? "" : r.profile]),
      el("td", {}, [message]), fileLinks(r.documents),
      el("td", {}, [Number(r.execution_time).toFixed(3)])]);
    return {tr: tr, values: {n: i + 1, code: r.code, status: r.status,
            status_letter: r.status_letter || "", profile: r.profile === null ? -1 : r.profile,
            message: message, documents: r.documents.length,
            execution_time: Number(r.execution_time)}};
  });
  rows.forEach(function (row) { body.append(row.tr); });

  let shown = "all";
  function applyFilter() {
    for (const row of rows) {
      row.tr.hidden = shown !== "all" && row.values.status !== shown;
    }
    for (const b of filters.querySelectorAll("button")) {
      b.classList.toggle("active", b.dataset.status === shown);
    }
  }
  for (const status of ["all"].concat(statuses)) {
    const n = status === "all" ? rows.length
        : rows.filter(function (r) { return r.values.status === status; }).length;
    const b = el("button", {id: "filter-" + status, "data-status": status},
                 [status + " (" + n + ")"]);
    b.addEventListener("click", function () { shown = status; applyFilter(); });
    filters.append(b);
  }
  let sortKey = "n", ascending = true;
  for (const th of head.children) {
    th.addEventListener("click", function () {
      const key = th.dataset.key;
      ascending = key === sortKey ? !ascending : true;
      sortKey = key;
      rows.sort(function (a, b) {
        const x = a.values[key], y = b.values[key];
        const order = x < y ? -1 : x > y ? 1 : a.values.n - b.values.n;
        return ascending ? order : -order;
      });
      rows.forEach(function (row) { body.append(row.tr); });
      for (const other of head.children) other.className = "";
      th.className = ascending ? "sorted-asc" : "sorted-desc";
    });
  }
  applyFilter();

  const failed = data.results.filter(function (r) { return r.error; });
  root.append(el("h2", {}, ["Failures (" + failed.length + ")"]));
  const list = el("ul", {class: "failures", id: "failures"});
  for (const r of failed) {
    list.append(el("li", {}, [el("code", {}, [r.code]), " " + errorText(r.error)]));
  }
  if (!failed.length) list.append(el("li", {}, ["none"]));
  root.append(list);

  if (data.run_files.length) {
    root.append(el("h2", {}, ["Files of the run"]));
    const files = el("table", {id: "run-files"});
    files.append(el("tr", {}, [fileLinks(data.run_files)]));
    root.append(files);
  }
  document.body.dataset.rendered = "yes";
})();
</script>
</body>
</html>
)HTML";

}  // namespace

std::string RelativeLink(const std::string& page, const std::string& file) {
  std::error_code ec;
  const fs::path folder = fs::absolute(page, ec).parent_path();
  const fs::path target = fs::absolute(file, ec).lexically_normal();
  fs::path relative = target.lexically_relative(folder.lexically_normal());
  if (relative.empty()) relative = target;
  return PercentEncoded(relative.generic_string());
}

std::string RunReportHtml(const RunResults& results,
                          const std::string& results_json,
                          const std::string& report_path) {
  return std::string(kHead) + ScriptSafe(results_json) + kBetween +
         ScriptSafe(LinksJson(results, report_path)) + kScript;
}

}  // namespace mx::cli
