// The popup: the page's title, address and selected text, saved into Norvelle on Enter.
// Every text here is set as text, never as markup: titles come from web pages.
const api = globalThis.browser ?? globalThis.chrome;
const $ = (id) => document.getElementById(id);
let tabId;
let existing = null;       // the link as the collection has it, when it does
let shownDescription = "";

function say(text, error) {
  $("status").textContent = text;
  $("status").className = error ? "error" : "";
}

function ask(message) {
  return api.runtime.sendMessage({ ask: message, tabId });
}

async function selectedText() {
  try {
    const [result] = await api.scripting.executeScript({ target: { tabId }, func: () => String(getSelection()) });
    return (result && result.result) || "";
  } catch (e) {
    return "";  // pages the browser keeps to itself
  }
}

async function start() {
  // Opened as a page of its own (?tab=N), the popup serves the tab it names.
  const named = Number(new URLSearchParams(location.search).get("tab"));
  const [tab] = named ? [await api.tabs.get(named)] : await api.tabs.query({ active: true, currentWindow: true });
  tabId = tab && tab.id;
  $("title").value = (tab && tab.title) || "";
  $("link").value = (tab && tab.url) || "";
  const selection = tabId !== undefined ? await selectedText() : "";
  $("description").value = selection;
  $("title").focus();
  $("title").select();
  const [found, categories] = await Promise.all([ask({ type: "lookup", url: $("link").value }), ask({ type: "categories" })]);
  if (categories.ok)
    for (const name of categories.categories) {
      const option = document.createElement("option");
      option.value = name;
      $("categories").appendChild(option);
    }
  if (!found.ok) {
    say(found.error, true);
    return;
  }
  if (found.found) {
    existing = found.link;
    $("title").value = existing.title;
    $("category").value = existing.category;
    if (!selection) $("description").value = existing.description;
    shownDescription = $("description").value;
    $("save").textContent = "Update";
    say("Saved already on " + existing.added + (existing.category ? " in " + existing.category : "") + ".");
  }
}

$("form").addEventListener("submit", async (event) => {
  event.preventDefault();
  $("save").disabled = true;
  const message = { type: existing ? "update" : "add", url: $("link").value, title: $("title").value,
                    category: $("category").value };
  // An update leaves the stored description alone unless it was changed here.
  if (!existing || $("description").value !== shownDescription) message.description = $("description").value;
  const answer = await ask(message);
  $("save").disabled = false;
  if (!answer.ok) {
    say(answer.error, true);
    return;
  }
  say(existing ? "Updated." : answer.added ? "Saved." : "Saved already.");
  setTimeout(() => window.close(), 700);
});

document.addEventListener("keydown", (event) => {
  if (event.key === "Escape") window.close();
});

start();
