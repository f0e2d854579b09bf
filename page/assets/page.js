
"use strict";
// The member's page: plays the frames the window plays, on the plan drawn
// from the window's own drawing data. Positions are twips; the plan is drawn
// in plan pixels, 15 twips each. Everything the page shows of a script is
// set as text, never as markup.
(function () {
  performance.mark("velistrad-script-start");
  const SVG = "http://www.w3.org/2000/svg";
  const TWIPS = 15;
  const MARKER_DX = 85, MARKER_DY = 75, MARKER_R = 10;
  const LABEL_PX = 10, LABEL_ASCENT = 0.905, CAP = 0.716, LINE = 1.149;
  const FONT = 'Arial, "Liberation Sans", Helvetica, sans-serif';
  const data = JSON.parse(document.getElementById("velistrad-data").textContent);
  const $ = (id) => document.getElementById(id);
  const plan = $("plan");

  function el(name, attrs, parent) {
    const e = document.createElementNS(SVG, name);
    for (const k in attrs) e.setAttribute(k, attrs[k]);
    if (parent) parent.appendChild(e);
    return e;
  }
  function textWidth(node, shape) {
    const w = node.getComputedTextLength ? node.getComputedTextLength() : 0;
    return w > 0 ? w : shape.t.length * shape.fs * 0.6;
  }

  // ---- The plan ----
  function pathData(d) {
    const n = "(-?[0-9.]+(?:e[-+]?[0-9]+)?)";
    return d.replace(new RegExp("R" + n + " " + n + " " + n + " " + n, "g"), (m, x, y, w, h) =>
      "M" + x + " " + y + "h" + w + "v" + h + "h" + -w + "Z");
  }
  function drawShape(s, g) {
    const stroke = s.sw ? { stroke: s.s, "stroke-width": s.sw } : {};
    const fill = { fill: s.f || "none" };
    const font = { "font-family": FONT, "font-size": s.fs, "font-weight": s.b ? "bold" : "normal" };
    if (s.k === "rect") el("rect", Object.assign({ x: s.x, y: s.y, width: s.w, height: s.h }, fill, stroke), g);
    else if (s.k === "ellipse") el("ellipse", Object.assign({ cx: s.x, cy: s.y, rx: s.w, ry: s.h }, fill, stroke), g);
    else if (s.k === "line") el("line", Object.assign({ x1: s.x, y1: s.y, x2: s.w, y2: s.h }, stroke), g);
    else if (s.k === "path" && s.u) {
      // The union of the lanes: outlines first, then the fills over their inner halves.
      el("path", { d: pathData(s.d), fill: "none", stroke: s.s, "stroke-width": 2 * s.sw }, g);
      el("path", { d: pathData(s.d), fill: s.f }, g);
    } else if (s.k === "path") el("path", Object.assign({ d: pathData(s.d) }, fill, stroke), g);
    else if (s.k === "text") {
      const y = s.bl === 0 ? s.y : s.bl === 1 ? s.y + CAP * s.fs : s.y + CAP * s.fs / 2;
      const anchor = ["start", "middle", "end"][s.al];
      el("text", Object.assign({ x: s.x, y: y, fill: s.s, "text-anchor": anchor }, font), g).textContent = s.t;
    } else if (s.k === "boxtext") {
      el("text", Object.assign({ x: s.x + s.w / 2, y: s.y + s.h / 2 + CAP * s.fs / 2, fill: s.s,
        "text-anchor": "middle" }, font), g).textContent = s.t;
    } else if (s.k === "labelbox") {
      const box = el("rect", Object.assign({ y: s.y - s.h / 2, height: s.h }, fill, stroke), g);
      const t = el("text", Object.assign({ x: s.x, y: s.y + CAP * s.fs / 2, fill: s.s, "text-anchor": "middle" }, font), g);
      t.textContent = s.t;
      return () => {
        const w = Math.max(s.w, textWidth(t, s) + 8);
        return () => { box.setAttribute("x", s.x - w / 2); box.setAttribute("width", w); };
      };
    } else if (s.k === "word") {
      const group = el("g", { transform: "translate(" + s.x + " " + s.y + ") rotate(" + (s.a || 0) + ")" }, g);
      const back = el("rect", { fill: s.f }, group);
      const t = el("text", Object.assign({ x: 0, y: CAP * s.fs / 2, fill: s.s, "text-anchor": "middle" }, font), group);
      t.textContent = s.t;
      return () => {
        const w = textWidth(t, s) + 8, h = LINE * s.fs;
        return () => {
          back.setAttribute("x", -w / 2);
          back.setAttribute("y", -h / 2);
          back.setAttribute("width", w);
          back.setAttribute("height", h);
        };
      };
    }
    return null;
  }
  function drawPlan() {
    const g = $("floor");
    el("rect", { x: 0, y: 0, width: 482, height: 696, fill: data.floor }, g);
    // Boxes that fit their texts: every text measured in one layout, then sized.
    const measures = data.plan.map((s) => drawShape(s, g)).filter((m) => m);
    for (const size of measures.map((m) => m())) size();
  }

  // ---- Numbers as the window writes them ----
  // Seconds to one decimal, ties to even, as C's "%.1f" rounds.
  function tenths(x) {
    const q = x * 4;
    if (Number.isInteger(q) && q % 2 !== 0) {
      const ten = x * 10, low = Math.floor(ten);
      const pick = low % 2 === 0 ? low : low + 1;
      return (pick / 10).toFixed(1);
    }
    return x.toFixed(1);
  }
  function thousands(n) {
    return String(n).replace(/\B(?=(\d{3})+(?!\d))/g, " ");
  }
  // A single-precision value as the command-line tool prints it: seven
  // significant digits, ties to even, plain up to 10^7 and with an exponent
  // beyond. Exact: the value is expanded into its decimal digits first.
  function singleText(v) {
    if (v === 0) return "0";
    const sign = v < 0 ? "-" : "";
    v = Math.abs(v);
    const buf = new DataView(new ArrayBuffer(8));
    buf.setFloat64(0, v);
    const hi = buf.getUint32(0), lo = buf.getUint32(4);
    const exp = (hi >>> 20) & 0x7ff;
    let mant = (BigInt(hi & 0xfffff) << 32n) | BigInt(lo);
    let e2 = exp - 1075;
    if (exp !== 0) mant |= 1n << 52n; else e2 = -1074;
    let digits, point;  // value = 0.digits * 10^point
    if (e2 >= 0) { digits = (mant << BigInt(e2)).toString(); point = digits.length; }
    else { digits = (mant * 5n ** BigInt(-e2)).toString(); point = digits.length + e2; }
    const lead = digits.search(/[1-9]/);
    digits = digits.slice(lead); point -= lead;
    let kept = digits.slice(0, 7).padEnd(7, "0");
    const rest = digits.slice(7);
    if (rest.length && (rest[0] > "5" || (rest[0] === "5" && (/[1-9]/.test(rest.slice(1)) || kept[6] % 2 === 1)))) {
      kept = (BigInt(kept) + 1n).toString();
      if (kept.length > 7) { kept = kept.slice(0, 7); point += 1; }
    }
    const x = point - 1;
    kept = kept.replace(/0+$/, "");
    if (x < -4 || x >= 7) {
      const m = kept.length > 1 ? kept[0] + "." + kept.slice(1) : kept;
      return sign + m + "E" + (x < 0 ? "-" : "+") + String(Math.abs(x)).padStart(2, "0");
    }
    if (x < 0) return sign + "0." + "0".repeat(-x - 1) + kept;
    if (kept.length <= x + 1) return sign + kept.padEnd(x + 1, "0");
    return sign + kept.slice(0, x + 1) + "." + kept.slice(x + 1);
  }

  // ---- A run: the frames decoded once ----
  function decode(m) {
    const lines = m.frames === "" && m.entries.length === 0 ? [] : m.frames.split("\n");
    const starts = [0], who = [], xs = [], ys = [], delay = [];
    const lastX = data.officers.map((o) => Math.fround(o[1]));
    const lastY = data.officers.map((o) => Math.fround(o[2]));
    const coordinate = (text, last) => {
      if (text === "") return NaN;
      if (text[0] === "=") return Math.fround(Number(text.slice(1)));
      return Math.fround(last + Number(text));
    };
    let previous = "";
    const frame = (line) => {
      let rest = line;
      let wait = NaN;
      if (rest[0] === "@") {
        const space = rest.indexOf(" ");
        wait = Number(space < 0 ? rest.slice(1) : rest.slice(1, space));
        rest = space < 0 ? "" : rest.slice(space + 1);
      }
      if (rest !== "") {
        for (const t of rest.split(" ")) {
          const [o, x, y] = t.split(",");
          const k = Number(o);
          const nx = coordinate(x, lastX[k]), ny = coordinate(y, lastY[k]);
          if (!isNaN(nx)) lastX[k] = nx;
          if (!isNaN(ny)) lastY[k] = ny;
          who.push(k); xs.push(nx); ys.push(ny);
        }
      }
      delay.push(wait);
      starts.push(who.length);
    };
    for (const line of lines) {
      if (line[0] === "*") {
        for (let n = Number(line.slice(1)); n > 0; --n) frame(previous);
      } else {
        frame(line);
        previous = line;
      }
    }
    const count = delay.length;
    const delaysBefore = new Array(count + 1), secondsBefore = new Array(count + 1);
    delaysBefore[0] = 0; secondsBefore[0] = 0;
    for (let i = 0; i < count; ++i) {
      const d = !isNaN(delay[i]);
      delaysBefore[i + 1] = delaysBefore[i] + (d ? 1 : 0);
      secondsBefore[i + 1] = secondsBefore[i] + (d ? delay[i] : 0);
    }
    return { count, starts, who, xs: Float32Array.from(xs), ys: Float32Array.from(ys), delay,
      delaysBefore, secondsBefore, entries: m.entries, texts: m.texts, parts: m.parts };
  }

  const run = {
    m: null, shown: 0, x: new Float32Array(22), y: new Float32Array(22),
    playing: false, due: 0, speed: 3, follow: -1, route: null,
  };
  function period() { return data.speeds[run.speed - 1][1]; }
  // At Lightning frames wait nothing and the page shows one a picture, so a
  // frame takes a picture's time: the seconds shown are counted at that,
  // as measured while playing (a display's usual 60 pictures a second until then).
  let pictureSeconds = 1 / 60;
  function shownPeriod() { return period() > 0 ? period() : pictureSeconds; }
  function timeAt(r, n, fd) {
    n = Math.min(n, r.count);
    return (n - r.delaysBefore[n]) * fd + r.secondsBefore[n];
  }
  function apply(r, n, x, y) {
    for (let i = r.starts[n]; i < r.starts[n + 1]; ++i) {
      const k = r.who[i];
      if (!isNaN(r.xs[i])) x[k] = r.xs[i];
      if (!isNaN(r.ys[i])) y[k] = r.ys[i];
    }
  }
  function positionsAfter(r, shown, x, y) {
    data.officers.forEach((o, k) => { x[k] = o[1]; y[k] = o[2]; });
    for (let n = 0; n < Math.min(shown, r.count); ++n) apply(r, n, x, y);
  }
  function entriesAt(r, n) {
    const found = [];
    for (const e of r.entries) if (e[1] <= n && n < e[1] + e[2]) found.push(e[0]);
    return found.sort((a, b) => a - b);
  }
  function nextEntryStart(r, shown) {
    for (const e of r.entries) if (e[1] + 1 > shown) return e[1] + 1;
    return shown;
  }
  function previousEntryStart(r, shown) {
    let at = shown;
    for (const e of r.entries) if (e[1] + 1 < shown) at = e[1] + 1;
    return at;
  }
  function entryText(r, shown) {
    if (shown === 0 || shown > r.count) return "";
    const found = entriesAt(r, shown - 1);
    if (found.length === 0) return "";
    if (found.length > 1) return "entries " + found.map((e) => e + 1).join(", ");
    const text = r.texts[found[0]];
    return "entry " + (found[0] + 1) + (text !== undefined ? ": " + text : "");
  }
  function positionText(r, shown, fd) {
    return "frame " + thousands(shown) + " / " + thousands(r.count) + " \u00b7 " +
      tenths(timeAt(r, shown, fd)) + " s / " + tenths(timeAt(r, r.count, fd)) + " s";
  }

  // ---- Drawing the officers ----
  const spot = (x, y) => [(x + MARKER_DX) / TWIPS, (y + MARKER_DY) / TWIPS];
  function atStation(k) { return run.x[k] === data.officers[k][1] && run.y[k] === data.officers[k][2]; }
  // A finger needs 44 CSS pixels to tap a marker, whatever the plan's scale.
  function hitRadius() {
    const box = plan.getBoundingClientRect();
    const scale = Math.min(box.width / 482, box.height / 696);
    return scale > 0 ? Math.max(MARKER_R, 22 / scale) : MARKER_R;
  }
  function drawMarkers() {
    const g = $("markers");
    g.textContent = "";
    const circles = el("g", {}, g), halos = el("g", {}, g), labels = el("g", {}, g);
    const hits = el("g", {}, g), reach = hitRadius();
    data.officers.forEach((o, k) => {
      if (atStation(k) && k !== run.follow) return;
      const [cx, cy] = spot(run.x[k], run.y[k]);
      if (k === run.follow) {
        el("circle", { cx, cy, r: MARKER_R + 3.5, fill: "none", stroke: o[3], "stroke-width": 3 }, circles);
      }
      if (atStation(k)) return;
      el("circle", { cx, cy, r: MARKER_R, fill: "#fff", stroke: "#000", "stroke-width": 1,
        class: "marker", "data-officer": k }, circles);
      const at = { x: run.x[k] / TWIPS, y: run.y[k] / TWIPS + LABEL_ASCENT * LABEL_PX,
        "font-family": FONT, "font-size": LABEL_PX };
      el("text", Object.assign({ fill: "none", stroke: "#fff", "stroke-width": 2.5,
        "stroke-linejoin": "round" }, at), halos).textContent = o[0];
      el("text", Object.assign({ fill: "#000" }, at), labels).textContent = o[0];
      const hit = el("circle", { cx, cy, r: reach, class: "hit", "data-officer": k }, hits);
      hit.addEventListener("click", () => follow(k));
    });
  }
  // His route: every place he stands, a new stretch after a placement.
  function routeOf(r, k) {
    const x = Math.fround(data.officers[k][1]), y = Math.fround(data.officers[k][2]);
    const points = [[0, x, y, true]];
    let px = x, py = y;
    for (let n = 0; n < r.count; ++n) {
      let nx = px, ny = py;
      for (let i = r.starts[n]; i < r.starts[n + 1]; ++i) {
        if (r.who[i] !== k) continue;
        if (!isNaN(r.xs[i])) nx = r.xs[i];
        if (!isNaN(r.ys[i])) ny = r.ys[i];
      }
      if (nx !== px || ny !== py) {
        const jump = Math.abs(nx - px) > 30 || Math.abs(ny - py) > 30;
        points.push([n + 1, nx, ny, jump]);
        px = nx; py = ny;
      }
    }
    return points;
  }
  function routePath(points, upTo) {
    let d = "";
    for (const [n, x, y, jump] of points) {
      if (n > upTo) break;
      const [px, py] = spot(x, y);
      d += (jump ? "M" : "L") + px.toFixed(2) + " " + py.toFixed(2);
    }
    return d;
  }
  function drawRoute() {
    const g = $("route");
    g.textContent = "";
    if (run.follow < 0 || !run.route) return;
    const colour = data.officers[run.follow][3];
    el("path", { d: routePath(run.route, Infinity), fill: "none", stroke: colour, "stroke-opacity": 0.35,
      "stroke-width": 2, "stroke-linejoin": "round" }, g);
    el("path", { d: routePath(run.route, run.shown), fill: "none", stroke: colour,
      "stroke-width": 2.5, "stroke-linejoin": "round" }, g);
  }

  // ---- Controls ----
  function show() {
    const r = run.m;
    $("timeline").value = run.shown;
    $("readout").textContent = positionText(r, run.shown, shownPeriod());
    $("entry").textContent = entryText(r, run.shown);
    drawRoute();
    drawMarkers();
    for (const b of $("part").querySelectorAll("button")) {
      const first = Number(b.dataset.first), last = Number(b.dataset.last);
      b.classList.toggle("now", run.shown > first && run.shown <= last + 1);
    }
  }
  function setPlaying(on) {
    run.playing = on && run.m.count > 0;
    const b = $("play");
    b.textContent = run.playing ? "\u275a\u275a" : "\u25b6";
    b.setAttribute("aria-label", run.playing ? "Pause" : "Play");
    b.title = (run.playing ? "Pause" : "Play") + " (Space)";
    if (run.playing) {
      run.due = performance.now();
      run.lastPicture = undefined;
      requestAnimationFrame(tick);
    }
  }
  function waitOf(r, n) {
    const d = r.delay[n];
    return !isNaN(d) && d > 0 ? d : period();
  }
  // Deadlines follow the previous deadline, so a run keeps its time however
  // late a picture comes; at Lightning one frame a picture.
  function tick(now) {
    if (!run.playing) return;
    const r = run.m;
    const gap = run.lastPicture === undefined ? 0 : (now - run.lastPicture) / 1000;
    if (gap > 0 && gap < 0.25) pictureSeconds += (gap - pictureSeconds) / 8;
    run.lastPicture = now;
    let moved = false;
    while (run.shown < r.count && now >= run.due) {
      apply(r, run.shown, run.x, run.y);
      run.due += waitOf(r, run.shown) * 1000;
      run.shown += 1;
      moved = true;
      if (period() === 0 && isNaN(r.delay[run.shown - 1])) break;
    }
    if (now - run.due > 250) run.due = now;  // far behind: go on from now
    if (moved) show();
    if (run.shown >= r.count && now >= run.due) {
      run.lastRun = (now - run.startedAt) / 1000;
      setPlaying(false);
      return;
    }
    requestAnimationFrame(tick);
  }
  function seek(shown) {
    const r = run.m;
    run.shown = Math.max(0, Math.min(r.count, shown));
    positionsAfter(r, run.shown, run.x, run.y);
    run.due = performance.now();
    show();
  }
  function togglePlay() {
    if (!run.playing && run.shown >= run.m.count) seek(0);
    if (!run.playing && run.shown === 0) run.startedAt = performance.now();
    setPlaying(!run.playing);
  }
  function setSpeed(i) {
    run.speed = i;
    for (const b of $("speeds").children) b.setAttribute("aria-checked", String(Number(b.dataset.speed) === i));
    if (!run.m) return;
    listPart();
    show();
  }
  // "Senior Deacon (SD)" where the program gives him a title, else "1P".
  function officerName(k) {
    return data.officers[k][4];
  }
  function listPart() {
    const list = $("part");
    list.textContent = "";
    if (run.follow < 0) return;
    const r = run.m, fd = shownPeriod();
    for (const [entry, first, last, words] of r.parts[run.follow]) {
      const item = document.createElement("li");
      const b = document.createElement("button");
      b.type = "button";
      b.dataset.first = first;
      b.dataset.last = last;
      b.textContent = tenths(timeAt(r, first, fd)) + "\u2013" + tenths(timeAt(r, last + 1, fd)) + " s \u00b7 " +
        "entry " + (entry + 1) + ": " + (r.texts[entry] || "") + " \u2014 " + words;
      b.addEventListener("click", () => seek(first + 1));
      item.appendChild(b);
      list.appendChild(item);
    }
  }
  function follow(k) {
    run.follow = k;
    run.route = k >= 0 ? routeOf(run.m, k) : null;
    $("officer").value = String(k);
    listPart();
    show();
  }
  function select(i) {
    setPlaying(false);
    const m = data.movements[i];
    run.m = decode(m);
    run.index = i;
    $("movement").value = String(i);
    $("script").textContent = m.script;
    document.title = m.name + (data.movements.length > 1 ? " \u2014 " + data.title : "");
    $("title").textContent = data.movements.length > 1 ? data.title : m.name;
    const t = $("timeline");
    t.max = run.m.count;
    t.disabled = false;
    $("play").disabled = false;
    follow(run.follow);
    seek(0);
  }

  function build() {
    drawPlan();
    data.speeds.forEach(([name, fd], i) => {
      const b = document.createElement("button");
      b.type = "button";
      b.textContent = String(i + 1);
      b.dataset.speed = i + 1;
      b.setAttribute("role", "radio");
      b.setAttribute("aria-label", name);
      b.title = name + (fd > 0 ? " (" + fd + " s a frame)" : " (as fast as drawing allows)");
      b.addEventListener("click", () => setSpeed(i + 1));
      $("speeds").appendChild(b);
    });
    const officers = $("officer");
    data.officers.forEach((o, k) => {
      const option = document.createElement("option");
      option.value = String(k);
      option.textContent = officerName(k);
      officers.appendChild(option);
    });
    officers.addEventListener("change", () => follow(Number(officers.value)));
    const chooser = $("movement");
    let group = null, parent = chooser;
    data.movements.forEach((m, i) => {
      if (m.group && (!group || group.label !== m.group)) {
        group = document.createElement("optgroup");
        group.label = m.group;
        chooser.appendChild(group);
        parent = group;
      }
      const option = document.createElement("option");
      option.value = String(i);
      option.textContent = m.name;
      parent.appendChild(option);
    });
    $("movement-label").hidden = data.movements.length < 2;
    chooser.addEventListener("change", () => select(Number(chooser.value)));
    $("play").addEventListener("click", togglePlay);
    const timeline = $("timeline");
    timeline.addEventListener("input", () => seek(Number(timeline.value)));
    document.addEventListener("keydown", (e) => {
      const tag = e.target.tagName;
      if (tag === "SELECT" || e.altKey || e.ctrlKey || e.metaKey || !run.m) return;
      const r = run.m;
      let to = null;
      if (e.key === "ArrowRight") to = e.shiftKey ? nextEntryStart(r, run.shown) : run.shown + 1;
      else if (e.key === "ArrowLeft") to = e.shiftKey ? previousEntryStart(r, run.shown) : run.shown - 1;
      else if (e.key === "Home") to = 0;
      else if (e.key === "End") to = r.count;
      else if (e.key === " " && tag !== "BUTTON" && tag !== "SUMMARY") {
        e.preventDefault();
        togglePlay();
        return;
      } else return;
      e.preventDefault();
      seek(to);
    });
    setSpeed(3);
    if (data.movements.length > 0) select(0);
    performance.mark("velistrad-plan-drawn");
  }

  // A stable interface for checks from outside the page.
  window.velistradPage = {
    movements: data.movements.map((m) => ({ name: m.name, group: m.group, toString() { return m.name; } })),
    select(i) { select(i); },
    get frameCount() { return run.m ? run.m.count : 0; },
    positionsAt(n) {
      const x = new Float32Array(22), y = new Float32Array(22);
      positionsAfter(run.m, Math.max(0, n + 1), x, y);
      return data.officers.map((o, k) => [o[0], Number(singleText(x[k])), Number(singleText(y[k])),
        x[k] === o[1] && y[k] === o[2] ? 0 : 1]);
    },
    get shown() { return run.shown; },
    get playing() { return run.playing; },
    play() { if (!run.playing) togglePlay(); },
    setSpeed(i) { setSpeed(i); },
    idealSeconds() { return timeAt(run.m, run.m.count, period()); },
    // Seconds the last run took from Play at its first frame to its end.
    get lastRunSeconds() { return run.lastRun; },
  };
  build();
})();
