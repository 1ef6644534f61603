#!/usr/bin/python3
"""Opens a page once in WebKitGTK with a profile on disk, as Safari keeps one,
and quits when its service worker controls it.

WebKit's WebDriver sessions keep no HTTP cache, so what they send on a first
visit is not what a Safari user pays.

    webkit_first_visit.py URL
"""
import sys
import tempfile

import gi

gi.require_version('Gtk', '3.0')
gi.require_version('WebKit2', '4.1')
from gi.repository import GLib, Gtk, WebKit2  # noqa: E402

CONTROLLED = 'navigator.serviceWorker?.controller != null'


def main(url):
    with tempfile.TemporaryDirectory() as profile:
        manager = WebKit2.WebsiteDataManager(base_data_directory=f'{profile}/data',
                                             base_cache_directory=f'{profile}/cache')
        context = WebKit2.WebContext.new_with_website_data_manager(manager)
        context.set_cache_model(WebKit2.CacheModel.WEB_BROWSER)
        view = WebKit2.WebView.new_with_context(context)
        window = Gtk.Window()
        window.set_default_size(360, 740)
        window.add(view)
        window.show_all()
        failed = []

        def ask():
            view.evaluate_javascript(CONTROLLED, -1, None, None, None, answered)

        def answered(view, result):
            if view.evaluate_javascript_finish(result).to_boolean():
                Gtk.main_quit()
            else:
                GLib.timeout_add(50, ask)

        def give_up():
            failed.append(True)
            Gtk.main_quit()

        view.connect('load-changed', lambda _, event: event == WebKit2.LoadEvent.FINISHED and ask())
        view.load_uri(url)
        GLib.timeout_add_seconds(60, give_up)
        Gtk.main()
        if failed:
            sys.exit(f'{url}: no service worker took the page within a minute')


if __name__ == '__main__':
    main(sys.argv[1])
