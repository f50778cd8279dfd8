"""Shared fixtures of the quorvin module's tests.

Tests marked `benchmark` measure speed and run only when asked
(QUORVIN_BENCHMARK=1); they assert nothing about time in CI.
"""

import os
import pathlib

import pytest

SOURCE = pathlib.Path(os.environ.get("QUORVIN_SOURCE_DIR", pathlib.Path(__file__).resolve().parents[2]))


def pytest_configure(config):
    config.addinivalue_line("markers", "benchmark: measures speed; run with QUORVIN_BENCHMARK=1")


def pytest_collection_modifyitems(config, items):
    if os.environ.get("QUORVIN_BENCHMARK") == "1":
        return
    skip = pytest.mark.skip(reason="a benchmark: set QUORVIN_BENCHMARK=1 to run it")
    for item in items:
        if "benchmark" in item.keywords:
            item.add_marker(skip)


@pytest.fixture
def source():
    return SOURCE


def read_answers(path):
    """The answers of an answers file (NAME<TAB>ANSWER lines)."""
    answers = {}
    for line in pathlib.Path(path).read_text().splitlines():
        name, tab, answer = line.partition("\t")
        if tab:
            answers.setdefault(name, answer)
    return answers
