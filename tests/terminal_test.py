#!/usr/bin/env python3
"""Types a session into the converter in a real terminal (tmux) and checks the
visible screen after every step, clearing included, as a person would see it.

With --wine LOADER the program is a Windows build started by that wine loader.
Wine's console draws the program's console calls into the terminal, so the
same screens must show: `cls` has to clear them.

With --browser chromium, webkit or firefox the program is the browser page,
opened from disk, typed into through the keyboard, its screen read from the
terminal's rows in the page. Then what only the page does: starting again
after the end, pasting, copying with Ctrl+C, ending with Ctrl+C, fetching
nothing; in Chromium also with the network off, text committed with no key,
on a phone's narrow screen, on a touch screen typed as phone keyboards type,
and without a console error. Screenshots go beside the page.
"""
import argparse
import os
import shlex
import subprocess
import sys
import tempfile
import time
from pathlib import Path

WAIT_SECONDS = 10
EQ = "=" * 45
MENU = ["Program Dalemira", EQ,
        "A = Celsius ke Reamur, Fahrenheit, Kelvin",
        "B = Reamur ke Celsius, Fahrenheit, Kelvin",
        "C = Fahrenheit ke Celsius, Reamur, Kelvin",
        "D = Kelvin ke Celsius, Reamur, Fahrenheit",
        EQ, ""]
ERROR = ["Kode yang Anda masukkan salah!!", ""]

# Each step: what is typed (None: nothing yet), then the whole screen that
# must follow, from its first line. The terminal echoes what is typed; tmux
# shows no trailing blanks.
STEPS = [
    (None, MENU + ["Masukkan Pilihan :"]),
    ("x", ERROR + MENU + ["Masukkan Pilihan :"]),
    ("a", ERROR + MENU + ["Masukkan Pilihan : a", "", "Suhu Celsius    :"]),
    ("100", ERROR + MENU + ["Masukkan Pilihan : a", "", "Suhu Celsius    : 100", "",
                            "Suhu Reamur     : 80", "Suhu Fahrenheit : 212",
                            "Suhu Kelvin     : 373", "", "Ingin coba lagi (Y/N) ?"]),
    ("x", ERROR + ["", "Ingin coba lagi (Y/N) ?"]),
    ("y", MENU + ["Masukkan Pilihan :"]),
    ("c", MENU + ["Masukkan Pilihan : c", "", "Suhu Fahrenheit :"]),
    ("0", MENU + ["Masukkan Pilihan : c", "", "Suhu Fahrenheit : 0", "",
                  "Suhu Celsius    : -17.7778", "Suhu Reamur     : -14.2222",
                  "Suhu Kelvin     : 255.222", "", "Ingin coba lagi (Y/N) ?"]),
]
LAST_SCREEN = STEPS[-1][1][:-1] + ["Ingin coba lagi (Y/N) ? N"]
# The last conversion pasted as two lines at the menu: as in any terminal,
# both are echoed at once, before the program asks for the temperature.
PASTED = MENU + ["Masukkan Pilihan : c", "0", "", "Suhu Fahrenheit :"] + STEPS[-1][1][len(MENU) + 4:]


def wait_until(condition) -> bool:
    """Whether `condition()` holds within WAIT_SECONDS."""
    deadline = time.monotonic() + WAIT_SECONDS
    while not condition() and time.monotonic() < deadline:
        time.sleep(0.05)
    return condition()


def wait_for(screen, expected: list, what: str) -> bool:
    if wait_until(lambda: screen() == expected):
        return True
    seen = screen()
    print(f"after {what}: the screen is not as expected")
    print("expected:\n  " + "\n  ".join(expected))
    print("seen:\n  " + "\n  ".join(seen))
    return False


def type_session(type_line, screen, scrollback_empty) -> bool:
    """Types STEPS, checking each screen, then the final N."""
    for typed, expected in STEPS:
        if typed is not None:
            type_line(typed)
        if not wait_for(screen, expected, "start" if typed is None else f"typing {typed!r}"):
            return False
        if typed == "y" and not scrollback_empty():
            print("after 'y': the scrollback was not cleared")
            return False
    type_line("N")
    return True


def without_trailing_blank_lines(lines: list) -> list:
    while lines and lines[-1].strip() == "":
        lines.pop()
    return [line.rstrip() for line in lines]


def in_tmux(program: str, wine: str) -> int:
    command = shlex.join(([wine] if wine else []) + [os.path.abspath(program)])
    with tempfile.TemporaryDirectory() as folder:
        socket = os.path.join(folder, "tmux.socket")
        env = dict(os.environ, TERM="xterm")

        def tmux(*words: str) -> str:
            return subprocess.run(["tmux", "-S", socket, "-f", "/dev/null", *words],
                                  check=True, capture_output=True, text=True,
                                  env=env).stdout

        def screen(*history: str) -> list:
            return without_trailing_blank_lines(
                tmux("capture-pane", "-p", "-t", "converter", *history).split("\n"))

        def type_line(typed: str) -> None:
            tmux("send-keys", "-t", "converter", "-l", typed)
            tmux("send-keys", "-t", "converter", "Enter")

        def scrollback_empty() -> bool:
            return tmux("display-message", "-p", "-t", "converter",
                        "#{history_size}").strip() == "0"

        status_file = os.path.join(folder, "status")
        wrapped = f"{command}; echo $? > '{status_file}.part'; mv '{status_file}.part' '{status_file}'"
        tmux("new-session", "-d", "-s", "converter", "-x", "80", "-y", "40", "sh", "-c", wrapped,
             ";", "set-option", "-t", "converter", "remain-on-exit", "on")
        try:
            if not type_session(type_line, screen, scrollback_empty):
                return 1
            # The shell around the program records its exit status; tmux's own
            # record of it is not always there in time.
            if not wait_until(lambda: os.path.exists(status_file)):
                print("after typing 'N': the program is still running")
                return 1
            with open(status_file, encoding="ascii") as recorded:
                status = recorded.read().strip()
            if status != "0":
                print(f"after typing 'N': exit status {status}, expected 0")
                return 1
            # tmux adds its own "Pane is dead" line at the bottom, which can
            # scroll the top line into the (otherwise empty) history.
            seen = [line for line in screen("-S", "-") if not line.startswith("Pane is dead")]
            if without_trailing_blank_lines(seen) != LAST_SCREEN:
                print("after typing 'N': the last screen did not stay as it was")
                print("seen:\n  " + "\n  ".join(seen))
                return 1
        finally:
            subprocess.run(["tmux", "-S", socket, "kill-server"], capture_output=True, check=False)
    print(f"{len(STEPS) + 1} screens as expected")
    return 0


# The page's parts that the browser test reads or uses.
ROWS = ".xterm-rows > div"
READ_SCREEN = f"""return Array.from(document.querySelectorAll('{ROWS}'),
    row => row.textContent.replace(/\\u00a0/g, ' '));"""
# No scrollback: the scrolling area is no taller than the terminal.
SCROLLBACK_EMPTY = """const view = document.querySelector('.xterm-viewport');
    return view.scrollHeight <= view.clientHeight;"""
PASTE = """const data = new DataTransfer();
    data.setData('text/plain', arguments[0]);
    const paste = new ClipboardEvent('paste', {clipboardData: data, bubbles: true, cancelable: true});
    // Firefox hides a script's clipboard data from the page: hand the page
    // the text as a paste from the clipboard would.
    if (paste.clipboardData.getData('text/plain') !== arguments[0])
        Object.defineProperty(paste, 'clipboardData', {value: data});
    document.activeElement.dispatchEvent(paste);"""
RECORD_COPIES = """window.copied = [];
    document.addEventListener('copy',
        event => window.copied.push(event.clipboardData.getData('text/plain')));"""
PHONE = {"width": 360, "height": 740, "deviceScaleFactor": 3, "mobile": True}
# On the phone: whether the page is wider than the screen, how far right the
# terminal reaches, its font size in CSS pixels.
MEASURE = """const screen = document.querySelector('.xterm-screen');
    return [document.documentElement.scrollWidth, screen.getBoundingClientRect().right,
            parseFloat(getComputedStyle(document.querySelector('.xterm-rows')).fontSize)];"""
SYNCHRONOUS_WEBASSEMBLY_REFUSED = """for (const name of ['Module', 'Instance']) {
        WebAssembly[name] = function () {
            throw new RangeError(`WebAssembly.${name} is disallowed on the main thread`);
        };
    }"""
COARSE_POINTER = "return matchMedia('(pointer: coarse)').matches"
TYPING_AT = """const typing = document.activeElement;
    return [typing.tagName, parseFloat(getComputedStyle(typing).fontSize)];"""
# Whether the focused element and the last written row lie inside what the
# screen shows (the visual viewport: above the keyboard).
IN_VIEW = """const view = window.visualViewport;
    const rows = Array.from(document.querySelectorAll('{rows}'));
    const prompt = rows.filter(row => row.textContent.trim()).pop();
    return [document.activeElement, prompt].map(element => {{
        const box = element.getBoundingClientRect();
        return box.top >= view.offsetTop && box.bottom <= view.offsetTop + view.height;
    }});""".format(rows=ROWS)


def soft_keyboard(driver):
    """The ways phone keyboards deliver a line, through the DevTools
    protocol, by name: each types a line, then Enter as a key."""
    def cdp(command: str, **arguments) -> None:
        driver.execute_cdp_cmd(command, arguments)

    def key(name: str, code: int, text: str = "") -> None:
        cdp("Input.dispatchKeyEvent", type="keyDown", key=name, code=name,
            windowsVirtualKeyCode=code, text=text)
        cdp("Input.dispatchKeyEvent", type="keyUp", key=name, code=name, windowsVirtualKeyCode=code)

    def composing(typed: str) -> None:
        words = typed.split(" ")
        for index, word in enumerate(words):
            for length in range(1, len(word) + 1):
                cdp("Input.dispatchKeyEvent", type="keyDown", key="Unidentified",
                    windowsVirtualKeyCode=229)
                cdp("Input.imeSetComposition", text=word[:length],
                    selectionStart=length, selectionEnd=length)
                cdp("Input.dispatchKeyEvent", type="keyUp", key="Unidentified",
                    windowsVirtualKeyCode=229)
            committed = word + (" " if index < len(words) - 1 else "")
            if committed:
                cdp("Input.insertText", text=committed)

    def committing_each_character(typed: str) -> None:
        for character in typed:
            cdp("Input.insertText", text=character)

    def taking_one_back(typed: str) -> None:
        if typed:
            cdp("Input.insertText", text=typed[0])
            key("Backspace", 8)
            cdp("Input.insertText", text=typed)

    def ending_with_enter(way):
        def type_line(typed: str) -> None:
            way(typed)
            key("Enter", 13, "\r")
        return type_line

    return {name: ending_with_enter(way) for name, way in [
        ("a composition growing letter by letter", composing),
        ("text committed a character at a time", committing_each_character),
        ("the line committed at once", lambda typed: cdp("Input.insertText", text=typed)),
        ("a letter committed, taken back, typed again", taking_one_back)]}


# Firefox's own prefs against reaching out: experiments, remote settings,
# the captive-portal and connectivity probes, the safe-browsing lists.
FIREFOX_PREFS = {"app.normandy.enabled": False, "messaging-system.rsexperimentloader.enabled": False,
                 "services.settings.server": "data:,", "network.captive-portal-service.enabled": False,
                 "network.connectivity-service.enabled": False,
                 "browser.safebrowsing.update.enabled": False}


class Firefox:
    """Firefox (Gecko) driven over WebDriver BiDi, which it serves itself, as
    Debian packages no geckodriver. It answers the few calls of a selenium
    driver that the browser test makes in every browser; an element is the
    script expression that finds it."""

    def __init__(self, folder: str):
        import asyncio
        import json
        import websockets  # Debian's python3-websockets
        from selenium.webdriver.remote.webelement import WebElement
        # ActionChains moves from selenium's elements only.
        WebElement.register(FirefoxElement)
        self.json = json
        profile = Path(folder, "firefox-profile")
        profile.mkdir()
        (profile / "user.js").write_text("".join(f"user_pref({json.dumps(name)}, {json.dumps(value)});\n"
                                                 for name, value in FIREFOX_PREFS.items()))
        log = Path(folder, "firefox.log")
        with open(log, "w", encoding="utf-8") as output:
            self.process = subprocess.Popen(
                ["firefox-esr", "--headless", "--no-remote", "--profile", str(profile),
                 "--remote-debugging-port=0"],
                stdout=output, stderr=subprocess.STDOUT)
        try:
            # Port 0: Firefox takes a free port and says which.
            listening = "WebDriver BiDi listening on "
            if not wait_until(lambda: listening in log.read_text(encoding="utf-8", errors="replace")):
                raise RuntimeError("Firefox did not open its WebDriver BiDi port:\n" + log.read_text())
            address = log.read_text().split(listening)[1].split()[0]
            self.loop = asyncio.new_event_loop()
            asyncio.set_event_loop(self.loop)
            self.socket = self.loop.run_until_complete(websockets.connect(address + "/session",
                                                                          max_size=None))
            self.sent = 0
            self.call("session.new", capabilities={})
            self.context = self.call("browsingContext.getTree")["contexts"][0]["context"]
            self.call("browsingContext.setViewport", context=self.context,
                      viewport={"width": 1000, "height": 800})
        except BaseException:
            self.quit()
            raise
        self.switch_to = self

    def call(self, method: str, **params):
        self.sent += 1
        self.loop.run_until_complete(self.socket.send(self.json.dumps(
            {"id": self.sent, "method": method, "params": params})))
        while True:
            answer = self.json.loads(self.loop.run_until_complete(self.socket.recv()))
            if answer.get("id") == self.sent:
                if answer["type"] == "error":
                    raise RuntimeError(f"{method}: {answer['error']}: {answer['message']}")
                return answer["result"]

    def get(self, url: str) -> None:
        self.call("browsingContext.navigate", context=self.context, url=url, wait="complete")

    def execute_script(self, script: str, *args):
        """Runs the body of a function, as selenium's does; its value comes
        back through JSON."""
        expression = f"JSON.stringify((function () {{ {script} }}).apply(null, {self.json.dumps(args)}))"
        answer = self.call("script.evaluate", expression=expression, awaitPromise=False,
                           target={"context": self.context})
        if answer["type"] == "exception":
            raise RuntimeError(f"script failed: {answer['exceptionDetails']['text']}")
        return self.json.loads(answer["result"]["value"]) if answer["result"]["type"] == "string" else None

    @property
    def title(self) -> str:
        return self.execute_script("return document.title")

    @property
    def active_element(self):
        return FirefoxElement(self, "document.activeElement")

    def find_element(self, by: str, value: str):
        return FirefoxElement(self, f"document.querySelector({self.json.dumps(css(by, value))})")

    def find_elements(self, by: str, value: str) -> list:
        found = self.json.dumps(css(by, value))
        count = self.execute_script(f"return document.querySelectorAll({found}).length")
        return [FirefoxElement(self, f"document.querySelectorAll({found})[{index}]")
                for index in range(count)]

    def execute(self, command: str, params: dict) -> None:
        """Selenium's ActionChains sends its actions here: the same as
        BiDi's, but for a move from an element (named by its expression),
        which becomes a move from the viewport's corner."""
        assert command == "actions", command
        for device in params["actions"]:
            for action in device["actions"]:
                if isinstance(action.get("origin"), dict):
                    find, = action.pop("origin").values()
                    x, y = FirefoxElement(self, find).centre()
                    action.update(x=round(action["x"] + x), y=round(action["y"] + y))
        self.call("input.performActions", context=self.context, actions=params["actions"])

    def save_screenshot(self, path: str) -> None:
        import base64
        shot = self.call("browsingContext.captureScreenshot", context=self.context)
        Path(path).write_bytes(base64.b64decode(shot["data"]))

    def quit(self) -> None:
        if hasattr(self, "socket"):
            self.loop.run_until_complete(self.socket.close())
            self.loop.close()
        self.process.terminate()
        try:
            self.process.wait(timeout=WAIT_SECONDS)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()


def css(by: str, value: str) -> str:
    """The CSS selector for one of selenium's ways of finding an element."""
    return {"id": f"#{value}", "tag name": value, "class name": f".{value}",
            "css selector": value}[by]


class FirefoxElement:
    def __init__(self, browser: Firefox, find: str):
        self.browser, self.find, self.id = browser, find, find

    def run(self, body: str, *args):
        return self.browser.execute_script(f"const element = {self.find}; {body}", *args)

    def get_attribute(self, name: str):
        return self.run("const name = arguments[0];"
                        "return name in element ? element[name] : element.getAttribute(name);", name)

    def is_displayed(self) -> bool:
        return self.run("return element.getClientRects().length > 0;")

    @property
    def size(self) -> dict:
        return self.run("const box = element.getBoundingClientRect();"
                        "return {width: Math.round(box.width), height: Math.round(box.height)};")

    def centre(self) -> tuple:
        return self.run("element.scrollIntoView({block: 'nearest'});"
                        "const box = element.getBoundingClientRect();"
                        "return [box.left + box.width / 2, box.top + box.height / 2];")

    def click(self) -> None:
        x, y = self.centre()
        self.browser.call("input.performActions", context=self.browser.context, actions=[
            {"type": "pointer", "id": "mouse", "parameters": {"pointerType": "mouse"},
             "actions": [{"type": "pointerMove", "x": round(x), "y": round(y)},
                         {"type": "pointerDown", "button": 0}, {"type": "pointerUp", "button": 0}]}])

    def send_keys(self, typed: str) -> None:
        """Types into whatever has the focus, key by key."""
        self.browser.call("input.performActions", context=self.browser.context, actions=[
            {"type": "key", "id": "keyboard",
             "actions": [{"type": kind, "value": key} for key in typed
                         for kind in ("keyDown", "keyUp")]}])


def start_browser(browser: str, folder: str):
    """Chromium headless; WebKit (Safari's engine) in a virtual X display,
    as its MiniBrowser has no headless mode. Returns the driver and what to
    stop after it."""
    from selenium import webdriver
    # Profiles, caches and certificates go to the private folder, not the home.
    os.environ.update(HOME=folder, XDG_CACHE_HOME=f"{folder}/cache",
                      XDG_CONFIG_HOME=f"{folder}/config", XDG_DATA_HOME=f"{folder}/data")
    if browser == "firefox":
        return Firefox(folder), None
    if browser == "chromium":
        options = webdriver.ChromeOptions()
        options.binary_location = "/usr/bin/chromium"
        # As root Chromium runs only without its sandbox; the rest keeps it
        # from reaching out to the network.
        for flag in ["--headless", "--no-sandbox", "--disable-gpu", "--no-first-run",
                     "--disable-background-networking", "--disable-component-update",
                     "--disable-sync", "--window-size=1000,800",
                     f"--user-data-dir={folder}/profile"]:
            options.add_argument(flag)
        driver = webdriver.Chrome(service=webdriver.chrome.service.Service("/usr/bin/chromedriver"),
                                  options=options)
        driver.set_network_conditions(offline=True, latency=0,
                                      download_throughput=0, upload_throughput=0)
        return driver, None
    read_end, write_end = os.pipe()
    # Only Linux's abstract socket: a socket file would leave /tmp/.X11-unix.
    display = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-nolisten", "tcp",
                                "-nolisten", "unix", "-screen", "0", "1000x800x24"],
                               pass_fds=[write_end],
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    with os.fdopen(read_end) as chosen:
        os.environ["DISPLAY"] = ":" + chosen.readline().strip()
    options = webdriver.WebKitGTKOptions()
    options.binary_location = "/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser"
    options.add_argument("--automation")
    return webdriver.WebKitGTK(executable_path="/usr/bin/WebKitWebDriver", options=options), display


def in_browser(page: str, browser: str) -> int:
    # Debian's python3-selenium; only this test needs it.
    from selenium.webdriver.common.action_chains import ActionChains
    from selenium.webdriver.common.by import By
    from selenium.webdriver.common.keys import Keys

    problems = []
    shots = Path(page).resolve().parent

    def check(ok: bool, what: str) -> bool:
        if not ok:
            problems.append(what)
        return ok

    with tempfile.TemporaryDirectory() as folder:
        driver, display = start_browser(browser, folder)
        try:
            url = Path(page).resolve().as_uri()
            driver.get(url)

            def screen() -> list:
                return without_trailing_blank_lines(driver.execute_script(READ_SCREEN))

            def type_line(typed: str) -> None:
                driver.switch_to.active_element.send_keys(typed + Keys.ENTER)

            def ended() -> bool:
                return driver.find_element(By.ID, "ended").is_displayed()

            check("Dalemira" in driver.title, f"the title {driver.title!r} does not name the program")
            check(driver.find_element(By.TAG_NAME, "html").get_attribute("lang") == "id",
                  "the page is not marked as Indonesian")
            check(wait_until(lambda: "xterm-helper-textarea" in
                             driver.switch_to.active_element.get_attribute("class")),
                  "the keyboard focus is not in the terminal")
            if not type_session(type_line, screen,
                                lambda: driver.execute_script(SCROLLBACK_EMPTY)):
                return 1
            if (check(wait_until(ended), "after typing 'N': the page does not say it ended")
                    and not wait_for(screen, LAST_SCREEN, "typing 'N'")):
                return 1
            # Typing into the ended program's screen changes nothing there.
            driver.find_element(By.CLASS_NAME, "xterm-screen").click()
            type_line("y")
            if not wait_for(screen, LAST_SCREEN, "typing 'y' after the end"):
                return 1
            driver.save_screenshot(str(shots / f"browser-{browser}.png"))
            # xterm.js brings it up to date at most once a second.
            check(wait_until(lambda: "Program Dalemira" in driver.find_element(
                      By.CLASS_NAME, "xterm-accessibility-tree").get_attribute("textContent")),
                  "the screen reader's copy of the screen lacks the menu")

            # Starting again: a fresh screen. Pasted lines work as typed.
            driver.find_element(By.ID, "again").click()
            if not wait_for(screen, STEPS[0][1], "starting again"):
                return 1
            driver.execute_script(PASTE, "c\n0\n")
            if not wait_for(screen, PASTED, "pasting 'c' and '0' on two lines"):
                return 1

            # Ctrl+C copies a selection and the program goes on; without one,
            # it ends the program.
            driver.execute_script(RECORD_COPIES)
            first_row = driver.find_elements(By.CSS_SELECTOR, ROWS)[0]
            # A double click on the first word of the first row selects it.
            ActionChains(driver).move_to_element_with_offset(
                first_row, 20 - first_row.size["width"] // 2, 0).double_click() \
                .key_down(Keys.CONTROL).send_keys("c").key_up(Keys.CONTROL).perform()
            check(driver.execute_script("return window.copied") == ["Program"],
                  f"Ctrl+C on the selected word copied {driver.execute_script('return window.copied')}")
            check(not ended(), "Ctrl+C with a selection ended the program")
            driver.find_elements(By.CSS_SELECTOR, ROWS)[20].click()
            ActionChains(driver).key_down(Keys.CONTROL).send_keys("c").key_up(Keys.CONTROL).perform()
            check(wait_until(ended), "Ctrl+C without a selection did not end the program")

            fetched = driver.execute_script(
                "return performance.getEntriesByType('resource').map(entry => entry.name)")
            check(not fetched, f"the page fetched {fetched}")
            if browser != "chromium":
                return report(problems)

            # Text that comes with no key, or through an input method, as
            # phone keyboards, voice typing and the emoji panel give it.
            keyboard = soft_keyboard(driver)

            def sessions_typed(press, ways: dict) -> bool:
                """Each way: STEPS typed, after starting the program again
                if it ended (`press` on the button), then its end."""
                for name, type_line in ways.items():
                    if ended():
                        press(driver.find_element(By.ID, "again"))
                    if not (wait_for(screen, STEPS[0][1], f"starting again to type {name}")
                            and type_session(type_line, screen,
                                             lambda: driver.execute_script(SCROLLBACK_EMPTY))
                            and wait_for(screen, LAST_SCREEN, f"typing 'N' as {name}")):
                        print(f"typed as {name}")
                        return False
                    check(wait_until(ended), f"typed as {name}, 'N' did not end the program")
                return True

            # On the desktop, input methods are xterm.js's own business.
            without_input_methods = {name: way for name, way in keyboard.items()
                                     if "composition" not in name}
            if not sessions_typed(lambda element: element.click(), without_input_methods):
                return 1

            # As in Chromium before 115, still in older phones' browsers: no
            # WebAssembly compiled or started synchronously on the page.
            refusing = driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {
                "source": SYNCHRONOUS_WEBASSEMBLY_REFUSED})["identifier"]
            driver.get(url)
            if not (wait_for(screen, STEPS[0][1], "opening the page where WebAssembly compiles"
                             " only asynchronously")
                    and type_session(type_line, screen,
                                     lambda: driver.execute_script(SCROLLBACK_EMPTY))):
                return 1
            driver.execute_cdp_cmd("Page.removeScriptToEvaluateOnNewDocument",
                                   {"identifier": refusing})

            # A phone 360 CSS pixels wide: the whole menu, no sideways
            # scrolling, a readable font; a tap puts the focus in the terminal.
            driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", PHONE)
            driver.get(url)
            if not wait_for(screen, STEPS[0][1], "opening the page on a phone"):
                return 1
            width, right, font = driver.execute_script(MEASURE)
            check(width <= PHONE["width"] and right <= PHONE["width"] and font >= 10,
                  f"on a phone the page is {width} px wide, the terminal reaches {right} px,"
                  f" its font is {font} px")
            page_body = driver.find_element(By.TAG_NAME, "html")
            for place, tap in [("on the terminal", lambda: driver.find_element(
                                    By.CLASS_NAME, "xterm-screen").click()),
                               ("below it", lambda: ActionChains(driver).move_to_element_with_offset(
                                    page_body, 0, page_body.size["height"] // 2 - 5).click().perform())]:
                driver.execute_script("document.activeElement.blur()")
                tap()
                check("xterm-helper-textarea" in
                      driver.switch_to.active_element.get_attribute("class"),
                      f"on a phone a tap {place} does not put the focus in the terminal")
            driver.save_screenshot(str(shots / "browser-chromium-phone.png"))
            check(not driver.execute_script(COARSE_POINTER),
                  "a phone's screen without touch has a coarse pointer")

            # A touch screen: the typing goes into the page's own field.
            driver.execute_cdp_cmd("Emulation.setTouchEmulationEnabled",
                                   {"enabled": True, "maxTouchPoints": 5})
            driver.get(url)
            if not wait_for(screen, STEPS[0][1], "opening the page on a touch screen"):
                return 1
            check(driver.execute_script(COARSE_POINTER),
                  "with touch on, the page does not see a coarse pointer")

            def tap(element) -> None:
                # Touches land where the screen shows: in the visual viewport.
                x, y = driver.execute_script("""arguments[0].scrollIntoView({block: 'nearest'});
                    const box = arguments[0].getBoundingClientRect(), view = window.visualViewport;
                    return [box.left + box.width / 2 - view.offsetLeft,
                            box.top + box.height / 2 - view.offsetTop];""", element)
                for kind, points in [("touchStart", [{"x": x, "y": y}]), ("touchEnd", [])]:
                    driver.execute_cdp_cmd("Input.dispatchTouchEvent",
                                           {"type": kind, "touchPoints": points})

            driver.execute_script("document.activeElement.blur()")
            tap(driver.find_elements(By.CSS_SELECTOR, ROWS)[3])
            wait_until(lambda: driver.execute_script(TYPING_AT)[0] == "INPUT")
            typing_at = driver.execute_script(TYPING_AT)
            check(typing_at[0] == "INPUT" and typing_at[1] >= 16,
                  f"a tap on the terminal puts the focus in {typing_at[0]} with a {typing_at[1]} px font")
            driver.save_screenshot(str(shots / "browser-chromium-phone-touch.png"))
            # The keyboard opens after the tap, and only the top of the screen
            # shows: all of the page but a few pixels, or less.
            keyboard_up = keyboard["text committed a character at a time"]

            def tap_opening_the_keyboard(height: int):
                def press(element) -> None:
                    driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", PHONE)
                    tap(element)
                    wait_until(lambda: driver.execute_script(TYPING_AT)[0] == "INPUT")
                    driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                                           dict(PHONE, height=height))
                return press

            def type_line_in_view(typed: str) -> None:
                wait_until(lambda: driver.execute_script(IN_VIEW) == [True, True])
                in_view = driver.execute_script(IN_VIEW)
                check(in_view == [True, True], f"with the keyboard up, before typing {typed!r},"
                      f" the field and the prompt's line in view: {in_view}")
                keyboard_up(typed)

            if not sessions_typed(tap, keyboard):
                return 1
            for height in [360, 400]:
                if not sessions_typed(tap_opening_the_keyboard(height),
                                      {f"the keyboard up, {height} pixels showing": type_line_in_view}):
                    return 1
            # After the end a tap on the terminal opens no keyboard: nothing
            # takes typing; the focus stays on the button.
            tap(driver.find_elements(By.CSS_SELECTOR, ROWS)[3])
            time.sleep(0.5)
            check(driver.execute_script(TYPING_AT)[0] == "BUTTON" and screen() == LAST_SCREEN,
                  f"on a touch screen after the end a tap on the terminal puts the focus in"
                  f" {driver.execute_script(TYPING_AT)[0]}")
            tap(driver.find_element(By.ID, "again"))
            check(wait_until(lambda: driver.execute_script(TYPING_AT)[0] == "INPUT"),
                  "on a touch screen 'Jalankan lagi' leaves the focus out of the field")
            # Enter on an empty field is an empty line: the menu's answer
            # comes on the next row.
            for typed, expected in [("", STEPS[0][1]),
                                    ("a", MENU + ["Masukkan Pilihan :", "a", "", "Suhu Celsius    :"])]:
                keyboard_up(typed)
                if not wait_for(screen, expected, f"typing {typed!r} on a touch screen"):
                    return 1
            driver.save_screenshot(str(shots / "browser-chromium-phone-keyboard.png"))
            # Nothing reaches past the screen's width, nor the screen reader's
            # copy of the menu once it is there.
            wait_until(lambda: "A = Celsius" in driver.find_element(
                By.CLASS_NAME, "xterm-accessibility-tree").get_attribute("textContent"))
            width = driver.execute_script(MEASURE)[0]
            check(width <= PHONE["width"], f"on a touch screen the page is {width} px wide")
            errors = [entry["message"] for entry in driver.get_log("browser")
                      if entry["level"] == "SEVERE"]
            check(not errors, f"the page reported errors: {errors}")
            return report(problems)
        finally:
            driver.quit()
            if display:
                display.terminate()
                display.wait()


def report(problems: list) -> int:
    for problem in problems:
        print(problem)
    if problems:
        return 1
    print(f"{len(STEPS) + 3} screens as expected, and what only the page does")
    return 0


def main() -> int:
    parser = argparse.ArgumentParser()
    parser.add_argument("program", help="the program, or with --browser the page")
    parser.add_argument("--wine", metavar="LOADER")
    parser.add_argument("--browser", choices=["chromium", "webkit", "firefox"])
    args = parser.parse_args()
    if args.browser:
        return in_browser(args.program, args.browser)
    return in_tmux(args.program, args.wine)


if __name__ == "__main__":
    sys.exit(main())
