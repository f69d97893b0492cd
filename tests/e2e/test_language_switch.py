#!/usr/bin/python3
"""Switching the language from the help button's menu: the main window, the chooser with its
profile list, the settings and the batch follow each shipped language.

The chooser keeps serving batches after OK; when the language changes, its list must show the new
language's profiles, and the next conversion must use one of them. The texts to expect are read
from the language files themselves."""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import varid_e2e  # noqa: E402

# The language menu lists the language files sorted by file name.
LANGUAGES = ["English", "French", "German", "Spanish"]


def read_texts(program_dir, language):
    texts = {}
    with open(os.path.join(program_dir, "langs", language + ".ini"), encoding="utf-8-sig") as f:
        for line in f:
            key, sep, value = line.rstrip("\r\n").partition("=")
            if sep:
                texts.setdefault(key, value.replace("&", ""))
    return texts


def avi_profiles(program_dir, language):
    folder = os.path.join(program_dir, "langs", language + "_Profile", "avi")
    return sorted(os.path.splitext(n)[0] for n in os.listdir(folder) if n.endswith(".avo"))


def visible_windows(s):
    return set(s._xdotool("search", "--onlyvisible", "--pid", str(s.pid)).split())


def switch_language(s, main, texts, index):
    """The help button's menu, its Language submenu and the index-th language, by keyboard."""
    s.focus(main)
    before = visible_windows(s)
    s.press(s.find(main, role="push button", name=texts["IDS_MAIN_MENUITEM_HelpContent"]))
    s.wait_for(lambda: visible_windows(s) - before, "the help menu")
    s.key("Down", "Down", "Right")
    s.wait_for(lambda: len(visible_windows(s) - before) >= 2, "the language menu")
    s.key(*(["Down"] * index + ["Return"]))
    s.wait_for(lambda: not visible_windows(s) - before, "the menus closed")


def test(program_dir, media_dir, shots_dir):
    clip = os.path.join(os.path.realpath(media_dir), "rabbit320.mp4")
    with varid_e2e.Session(program_dir, shots_dir=shots_dir, timeout=30) as s:
        main = s.window(varid_e2e.MAIN_TITLE)
        varid_e2e.add_files(s, main, [clip])
        out_dir = os.path.join(s.tmp, "out")
        os.makedirs(out_dir)
        chooser = varid_e2e.open_chooser(s, main)
        varid_e2e.choose_radio_format(s, chooser, "To AVI")
        varid_e2e.set_output_folder(s, chooser, out_dir)
        s.press(s.find(chooser, role="push button", name="OK"))
        s.gone(lambda t: t == varid_e2e.CHOOSER_TITLE, "the chooser closed")

        texts = read_texts(s.program_dir, "English")
        converted = False
        for index in [2, 1, 3, 0]:  # German, French, Spanish, back to English
            language = LANGUAGES[index]
            switch_language(s, main, texts, index)
            texts = read_texts(s.program_dir, language)
            T = texts.get
            profiles = avi_profiles(s.program_dir, language)

            # The main window.
            s.find(main, role="push button", name=T("IDS_MAIN_ARBUTTON_Add"))
            s.find(main, role="push button", name=T("IDS_MAIN_ARBUTTON_Convert"))
            summary = T("IDS_MAIN_LABEL_SummaryOneFile" if not converted else "IDS_MAIN_LABEL_SummaryNoFile")
            s.find(main, role="label", name=summary)
            s.wait_for(lambda: s.value(main, T("IDS_MAIN_ARBUTTON_OutputFormat")) == T("IDS_MAIN_RADIOBUTTON_ToAVI"),
                       language + " format label")
            shown_profile = s.value(main, T("IDS_MAIN_LABEL_ProFile"))
            assert shown_profile in profiles, (language, shown_profile, profiles)
            s.screenshot("main-" + language)

            if not converted:
                # The chooser closed with OK in English serves this batch: it must convert with a
                # profile of the new language.
                s.press(s.find(main, role="push button", name=T("IDS_MAIN_ARBUTTON_Convert")))
                s.window_where(varid_e2e.is_progress_title, "the progress window")
                varid_e2e.wait_batch_end(s, timeout=300)
                s.find(main, role="label", name=T("IDS_MAIN_LABEL_SummaryNoFile"))
                assert os.listdir(out_dir) == ["rabbit320.avi"], os.listdir(out_dir)
                converted = True

            # The chooser, opened again, with the language's profile list.
            s.press(s.find(main, role="push button", name=T("IDS_MAIN_ARBUTTON_OutputSetting")))
            chooser = s.window_where(lambda t: t == T("IDS_MAIN_ARBUTTON_OutputSetting"),
                                     language + " chooser")
            radio = s.find(chooser, role="radio button", name=T("IDS_MAIN_RADIOBUTTON_ToAVI"))
            assert "checked" in s.states(radio), language
            s.find(chooser, role="push button", name=T("IDS_MAIN_ARBUTTON_EditProFile"))
            combo = s.find(chooser, role="combo box", showing_only=True)
            items = sorted(s.name(i) for i in s.find_all(combo, role="list item"))
            assert items == profiles, (language, items, profiles)
            assert s.name(combo) in profiles, (language, s.name(combo))
            s.screenshot("chooser-" + language)
            s.press(s.find(chooser, role="push button", name=T("IDS_ABOUT_BUTTON_OK")))
            s.gone(lambda t: t == T("IDS_MAIN_ARBUTTON_OutputSetting"), "the chooser closed")

            # The settings.
            s.focus(main)
            s.key("ctrl+e")
            settings = s.window_where(lambda t: t == T("IDS_SETTINGS_FORM_Title"), language + " settings")
            s.find(settings, role="check box", name=T("IDS_SETTINGS_CHECKBOX_UseDirectShow"))
            s.screenshot("settings-" + language)
            s.key("Escape")
            s.gone(lambda t: t == T("IDS_SETTINGS_FORM_Title"), "the settings closed")


if __name__ == "__main__":
    varid_e2e.main_guard(test)
