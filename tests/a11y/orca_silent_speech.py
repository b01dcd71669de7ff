# SPDX-License-Identifier: GPL-3.0-or-later
"""A speech server for Orca that makes no sound, on machines that have no sound device for
a real one: it writes each utterance as a line to the file $VOLPAR_ORCA_SPOKEN, at once
(Orca's own debug log says the same, but only as its buffer fills)."""
import os

from orca import speechserver


def _say(text):
    with open(os.environ["VOLPAR_ORCA_SPOKEN"], "a", encoding="utf-8") as spoken:
        spoken.write(" ".join(str(text).split()) + "\n")


class SpeechServer(speechserver.SpeechServer):
    _server = None

    @staticmethod
    def getFactoryName():
        return "Silent"

    @staticmethod
    def getSpeechServers():
        return [SpeechServer.getSpeechServer()]

    @staticmethod
    def getSpeechServer(info=None):
        if SpeechServer._server is None:
            SpeechServer._server = SpeechServer()
        return SpeechServer._server

    @staticmethod
    def shutdownActiveServers():
        pass

    def getInfo(self):
        return ["Silent", "silent"]

    def getVoiceFamilies(self):
        return []

    def speak(self, text=None, acss=None, interrupt=True):
        if text:
            _say(text)

    def speakCharacter(self, character, acss=None):
        _say(character)

    def speakKeyEvent(self, event, acss=None):
        _say(event.event_string)
