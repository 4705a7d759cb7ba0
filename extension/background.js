// Norvelle's extension: everything it knows of the person's links comes from Norvelle's
// host at the moment it asks; it keeps none of them itself.
const api = globalThis.browser ?? globalThis.chrome;
const HOST = "@NORVELLE_HOST_NAME@";  // filled in by the build

// One connection to the host for as long as the browser keeps this worker: answers come
// back in the order asked.
let port = null;
const waiting = [];

function connect() {
  port = api.runtime.connectNative(HOST);
  port.onMessage.addListener((answer) => {
    const next = waiting.shift();
    if (next) next(answer);
  });
  port.onDisconnect.addListener((gone) => {
    const why = (gone && gone.error && gone.error.message) || (api.runtime.lastError && api.runtime.lastError.message);
    port = null;
    for (const next of waiting.splice(0))
      next({ ok: false, error: "Norvelle's host did not answer" + (why ? ": " + why : ".") +
                              " Run \"norvelle-cli browsers --install-host\" once, then try again." });
  });
}

function ask(message) {
  return new Promise((resolve) => {
    try {
      if (!port) connect();
      waiting.push(resolve);
      port.postMessage(message);
    } catch (e) {
      resolve({ ok: false, error: String(e && e.message ? e.message : e) });
    }
  });
}

function saveable(url) {
  return typeof url === "string" && /^(https?|ftp|file):/i.test(url);
}

// The mark on the button: the page is in the collection.
async function markTab(tabId, url) {
  if (!saveable(url)) {
    await api.action.setBadgeText({ tabId, text: "" });
    return;
  }
  const answer = await ask({ type: "lookup", url });
  await api.action.setBadgeBackgroundColor({ tabId, color: "#2e7d32" });
  await api.action.setBadgeText({ tabId, text: answer.ok && answer.found ? "\u2713" : "" });
  await api.action.setTitle({ tabId, title: answer.ok && answer.found ? "Saved in Norvelle" : "Save to Norvelle" });
}

async function saveNow(url, title, description, tabId) {
  const answer = await ask({ type: "add", url, title: title || url, description: description || "" });
  if (tabId !== undefined) {
    // A short confirmation on the button, then the mark again.
    await api.action.setBadgeBackgroundColor({ tabId, color: answer.ok ? "#2e7d32" : "#c62828" });
    await api.action.setBadgeText({ tabId, text: answer.ok ? (answer.added ? "+" : "\u2713") : "!" });
    await api.action.setTitle({ tabId, title: answer.ok ? "Saved in Norvelle" : answer.error });
    setTimeout(() => api.tabs.get(tabId).then((tab) => markTab(tabId, tab.url)).catch(() => {}), 2000);
  }
  return answer;
}

api.runtime.onInstalled.addListener(() => {
  api.contextMenus.create({ id: "save-link", title: "Save Link to Norvelle", contexts: ["link"] });
  api.contextMenus.create({ id: "save-page", title: "Save Page to Norvelle", contexts: ["page", "selection"] });
});

api.contextMenus.onClicked.addListener((info, tab) => {
  if (info.menuItemId === "save-link" && saveable(info.linkUrl))
    saveNow(info.linkUrl, info.linkText || info.linkUrl, "", tab && tab.id);
  else if (info.menuItemId === "save-page" && tab && saveable(tab.url))
    saveNow(tab.url, tab.title, info.selectionText || "", tab.id);
});

api.commands.onCommand.addListener(async (command) => {
  if (command !== "save-page") return;
  const [tab] = await api.tabs.query({ active: true, currentWindow: true });
  if (tab && saveable(tab.url)) saveNow(tab.url, tab.title, "", tab.id);
});

api.tabs.onActivated.addListener(({ tabId }) => api.tabs.get(tabId).then((tab) => markTab(tabId, tab.url)).catch(() => {}));
api.tabs.onUpdated.addListener((tabId, change, tab) => {
  if (change.status === "complete" || change.url) markTab(tabId, tab.url).catch(() => {});
});

// The popup's questions go through here, so that one connection serves both.
api.runtime.onMessage.addListener((message, sender, reply) => {
  if (!message || typeof message.ask !== "object") return false;
  ask(message.ask).then((answer) => {
    reply(answer);
    if (answer.ok && (message.ask.type === "add" || message.ask.type === "update") && message.tabId !== undefined)
      markTab(message.tabId, message.ask.url).catch(() => {});
  });
  return true;
});

// The address bar: "nv" and words shows the best matches, typos forgiven.
const escapeXml = (text) => text.replace(/[&<>"']/g, (c) => ({ "&": "&amp;", "<": "&lt;", ">": "&gt;", '"': "&quot;", "'": "&apos;" })[c]);
const chromiumOmnibox = !globalThis.browser;

api.omnibox.onInputChanged.addListener(async (text, suggest) => {
  if (!text.trim()) return;
  const answer = await ask({ type: "search", query: text, typos: true });
  if (!answer.ok) return;
  suggest(answer.links.slice(0, 8).filter((l) => saveable(l.link)).map((l) => {
    const shown = (l.title || l.link) + (l.category ? " \u2014 " + l.category : "");
    // Chromium reads the description as markup; a title is only ever text.
    return { content: l.link, description: chromiumOmnibox ? escapeXml(shown) : shown };
  }));
});

api.omnibox.onInputEntered.addListener(async (text, disposition) => {
  let url = text.trim();
  if (!saveable(url)) {
    const answer = await ask({ type: "search", query: text, typos: true });
    const first = answer.ok && answer.links.find((l) => saveable(l.link));
    if (!first) return;
    url = first.link;
  }
  if (disposition === "currentTab") api.tabs.update({ url });
  else api.tabs.create({ url, active: disposition === "newForegroundTab" });
});
