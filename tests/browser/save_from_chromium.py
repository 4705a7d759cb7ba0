#!/usr/bin/python3
"""Saves pages from a real, headless Chromium through Norvelle's extension and host.

usage: save_from_chromium.py BUILD_DIR [--bench N]

A home folder of its own, the host's manifest written there by norvelle-cli, a page served
on the loopback address: the popup saves it with no window open (the host writes the file),
the button's mark and the search answer follow, then the same with a window running (the
window takes the link). With --bench, N saves into the running window are timed from the
press of Enter to the popup's "Saved.", which the window sends once the row is in its list.
Exits 77 when Chromium, its driver or Selenium is missing.
"""
import http.server, json, os, shutil, signal, subprocess, sys, tempfile, threading, time

try:
    from selenium import webdriver
    from selenium.webdriver.chrome.service import Service
    from selenium.webdriver.common.by import By
    from selenium.webdriver.common.keys import Keys
    from selenium.webdriver.support.ui import WebDriverWait
except ImportError:
    print("Selenium for /usr/bin/python3 is missing (python3-selenium)")
    sys.exit(77)
if not shutil.which("chromium") or not shutil.which("chromedriver"):
    print("chromium and chromium-driver are missing")
    sys.exit(77)

build = os.path.abspath(sys.argv[1])
bench = int(sys.argv[3]) if len(sys.argv) > 3 and sys.argv[2] == "--bench" else 0
EXTENSION_ID = "hglopfokmcgjijhledkddbpdenfmoicm"
cli = os.path.join(build, "cli", "norvelle-cli")

home = tempfile.mkdtemp(prefix="norvelle-browser-")
os.environ["HOME"] = home
os.environ["XDG_RUNTIME_DIR"] = os.path.join(home, "run")
os.environ["XDG_CONFIG_HOME"] = os.path.join(home, ".config")
os.makedirs(os.environ["XDG_RUNTIME_DIR"], mode=0o700)
profile = os.path.join(home, ".config", "chromium")
os.makedirs(profile)
data_file = os.path.join(home, "Documents", "Norvelle.dat")
installed = subprocess.run([cli, "browsers", "--install-host", home], capture_output=True, text=True)
assert installed.returncode == 0 and "Chromium" in installed.stdout, installed


class Pages(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        name = self.path.strip("/").split("?")[0] or "index"
        body = f"<!DOCTYPE html><title>Page {name} &lt;b&gt;</title><p>Text of {name}.</p>".encode()
        self.send_response(200)
        self.send_header("Content-Type", "text/html; charset=utf-8")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *args):
        pass


server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Pages)
threading.Thread(target=server.serve_forever, daemon=True).start()
site = f"http://127.0.0.1:{server.server_address[1]}"

options = webdriver.ChromeOptions()
for argument in ["--headless=new", f"--user-data-dir={profile}", "--no-sandbox", "--disable-gpu",
                 f"--load-extension={build}/extension/chromium", "--no-first-run", "--disable-dev-shm-usage"]:
    options.add_argument(argument)
driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
driver.set_script_timeout(20)
window = None
failures = []


def check(condition, what):
    print(("ok   " if condition else "FAIL ") + what)
    if not condition:
        failures.append(what)


helper = None


def extension_call(script):
    """Runs script (which ends by calling done(value)) in a page of the extension of its own."""
    global helper
    if helper is None:
        driver.switch_to.window(driver.window_handles[0])
        driver.switch_to.new_window("tab")
        driver.get(f"chrome-extension://{EXTENSION_ID}/popup.html?helper")
        helper = driver.current_window_handle
    driver.switch_to.window(helper)
    return driver.execute_async_script("const done = arguments[arguments.length - 1];" + script)


def ask(message):
    """A message to the host through the extension's background, as the popup sends it."""
    for _ in range(3):
        answer = extension_call("chrome.runtime.sendMessage({ask: %s}, (a) => done(a || "
                                "{lastError: String(chrome.runtime.lastError && chrome.runtime.lastError.message)}));"
                                % json.dumps(message))
        if "lastError" not in answer:
            return answer
        print("     (the background did not answer: %s; asked again)" % answer["lastError"])
        time.sleep(0.3)
    return answer


def dump():
    out = subprocess.run([cli, "dump", data_file], capture_output=True, text=True)
    return json.loads(out.stdout)["records"] if out.returncode == 0 else []


def save_from_popup(name, category):
    """Opens the page, then the popup for its tab; types a category and presses Enter."""
    driver.switch_to.new_window("tab")
    driver.get(f"{site}/{name}")
    page = driver.current_window_handle
    tab = extension_call(f"chrome.tabs.query({{url: '{site}/{name}'}}, (tabs) => done(tabs[0].id));")
    driver.switch_to.new_window("tab")
    driver.get(f"chrome-extension://{EXTENSION_ID}/popup.html?tab={tab}")
    WebDriverWait(driver, 10).until(lambda d: d.find_element(By.ID, "title").get_attribute("value"))
    title = driver.find_element(By.ID, "title").get_attribute("value")
    driver.find_element(By.ID, "category").send_keys(category)
    # Timed inside the page, from the key's submit to the answer shown, without the driver's own delays.
    driver.execute_script("""
        const form = document.getElementById('form'), status = document.getElementById('status');
        form.addEventListener('submit', () => { window.started = performance.now(); }, {capture: true});
        new MutationObserver(() => { window.elapsed = performance.now() - window.started; })
            .observe(status, {childList: true, characterData: true, subtree: true});""")
    driver.find_element(By.ID, "title").send_keys(Keys.ENTER)
    WebDriverWait(driver, 10, poll_frequency=0.02).until(lambda d: d.find_element(By.ID, "status").text)
    status = driver.find_element(By.ID, "status").text
    elapsed = driver.execute_script("return window.elapsed") / 1000
    time.sleep(0.3)
    badge = extension_call(f"chrome.action.getBadgeText({{tabId: {tab}}}, done);")
    # The popup closes itself; the page goes too, so that tabs do not pile up.
    driver.switch_to.window(page)
    driver.close()
    driver.switch_to.window(driver.window_handles[0])
    return badge, title, status, elapsed


try:
    # No window open: the host writes the data file itself.
    badge, title, status, _ = save_from_popup("first", "Reading")
    check(status == "Saved.", f"the popup says Saved. (it says {status!r})")
    check(title == "Page first <b>", f"the popup showed the page's title as text ({title!r})")
    records = dump()
    check([r["title"] for r in records] == ["Page first <b>"] and records[0]["category"] == "Reading",
          "norvelle-cli dump shows the link with its title and category")
    check(badge == "\u2713", f"the button is marked on the saved page (badge {badge!r})")
    found = ask({"type": "search", "query": "frist", "typos": True})
    check(found.get("ok") and [l["title"] for l in found["links"]] == ["Page first <b>"],
          "the address bar's search finds it with a typo")
    again = ask({"type": "lookup", "url": f"{site}/first/"})
    check(again.get("found") is True, "lookup finds it by the duplicate rule (a trailing /)")

    # A window open on the data file: it takes the links.
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    window = subprocess.Popen([os.path.join(build, "app", "norvelle")], env=env,
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    hello = {}
    for _ in range(100):
        hello = ask({"type": "hello"})
        if hello.get("windowOpen"):
            break
        time.sleep(0.1)
    check(hello.get("windowOpen") is True, "the host sees the window")
    badge, title, status, elapsed = save_from_popup("second", "Later")
    check(status == "Saved.", f"saved into the running window (the popup says {status!r})")
    check(badge == "\u2713", f"the button is marked after a save into the window (badge {badge!r})")
    times = [elapsed]
    for i in range(bench):
        times.append(save_from_popup(f"bench{i}", "")[3])
    window.send_signal(signal.SIGTERM)
    window.wait(20)
    window = None
    titles = [r["title"] for r in dump()]
    check(titles[:2] == ["Page first <b>", "Page second <b>"], "the window saved the link it took")
    if bench:
        times.sort()
        print(f"popup Enter to the row in the window: median {times[len(times) // 2] * 1000:.0f} ms, "
              f"slowest {times[-1] * 1000:.0f} ms over {len(times)} saves")
finally:
    if window:
        window.kill()
    driver.quit()
    server.shutdown()
    shutil.rmtree(home, ignore_errors=True)
sys.exit(1 if failures else 0)
