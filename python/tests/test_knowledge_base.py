"""The quorvin module: building, consulting, the question callback, and the
outcomes of bad input. The console's stored results are the reference."""

import json
import struct

import pytest

import quorvin
from conftest import SOURCE, read_answers

CAR = SOURCE / "examples" / "car.qvb"
KINDS = SOURCE / "tests" / "data" / "e2e" / "consult-question-kinds"


def float32(value):
    """The 32-bit float a JSON number of the console stands for."""
    return struct.unpack("f", struct.pack("f", value))[0]


def console_result(case):
    return json.loads((SOURCE / "tests" / "data" / "e2e" / case / "expected" / "result.json").read_text())


def test_a_knowledge_base_that_does_not_build_raises_with_its_lines():
    with pytest.raises(quorvin.BuildError) as raised:
        quorvin.KnowledgeBase(text="nodes {\n  a { (bayesian, 1.4, goal) }\n}\n", name="broken.qvb")
    error = raised.value
    assert str(error) == "[Error at line 2] cannot add this node (already exists?)"
    assert error.lines[-1] == "Failed to compile."
    assert (error.line, error.column) == (2, 18)
    assert "1.4" in error.detail

    with pytest.raises(quorvin.BuildError) as missing:
        quorvin.KnowledgeBase(str(SOURCE / "no" / "such.qvb"))
    assert str(missing.value).endswith("such.qvb: No such file or directory")
    assert missing.value.line is None
    assert missing.value.lines == ["Building inference net...", "[Error] Cannot read net source code."]

    with pytest.raises(ValueError):
        quorvin.KnowledgeBase()


def test_consult_ends_as_the_console_does():
    kb = quorvin.KnowledgeBase(CAR)
    assert kb.build_lines[-1] == "Done."
    assert kb.goals == ["flat_battery", "starter_fault", "out_of_fuel", "flooded_engine", "ignition_fault"]
    result = kb.consult(read_answers(SOURCE / "examples" / "car.answers"), explain=True)
    assert result.status == "ok"
    assert result.status_text == "Done, consulted ok."
    assert result.error is None
    console = console_result("example-car")
    assert [g.name for g in result.goals] == [g["name"] for g in console["goals"]]
    assert [g.current for g in result.goals] == [float32(g["current"]) for g in console["goals"]]
    assert [n.current for n in result.nodes] == [float32(n["current"]) for n in console["nodes"]]
    assert [n.name for n in result.nodes] == [n["name"] for n in console["nodes"]]
    assert [n.asked for n in result.nodes] == [n["asked"] for n in console["nodes"]]
    assert result.nodes[0].kind == "bayesian"
    assert set(result.explanations) == set(kb.goals)
    assert "flat_battery" in result.explanations["flat_battery"]
    # Numbers stand for their text: 11.6 is "11.6", 6 is "6", True is "yes".
    typed = kb.consult({**read_answers(SOURCE / "examples" / "car.answers"),
                        "voltage_ok": 11.6, "battery_old": 6, "rapid_clicking": True})
    assert typed.goal_values() == result.goal_values()


def test_bad_answers_are_reported_per_case():
    kb = quorvin.KnowledgeBase(CAR)
    unknown = kb.consult({"engine_crank": "y"})
    assert unknown.status == "invalid"
    assert unknown.error == "no node, parameter or taxonomy is named engine_crank"
    assert unknown.goals == []
    refused = kb.consult({"engine_cranks": "maybe"})
    assert refused.status == "error"
    assert refused.error.startswith('the answer "maybe" for engine_cranks was refused: ')
    with pytest.raises(TypeError):
        kb.consult({"engine_cranks": [1, 2]})
    # Answers that are not a mapping say so, not how dict() failed on them.
    for not_a_mapping in ("engine_cranks", [("engine_cranks", "y")], 3):
        with pytest.raises(TypeError, match="answers must be a mapping"):
            kb.consult(not_a_mapping)
    assert kb.consult({}).status == "ok"  # every question "Don't know"


def test_the_callback_is_asked_what_the_console_asks():
    kb = quorvin.KnowledgeBase(KINDS / "kb.qvb")
    typed = (KINDS / "typed").read_text().splitlines()
    transcript = []
    kinds = []

    def answer(question):
        if question.rejection:
            transcript.append(question.rejection + "\n")
        line = typed.pop(0)
        transcript.append(question.text + line + "\n")
        kinds.append(question.kind)
        return line

    result = kb.consult(callback=answer)
    assert result.status == "ok"
    assert typed == []
    assert kinds[:3] == ["parameter", "taxonomy", "taxonomy"]
    lines = (KINDS / "expected" / "stdout").read_text().splitlines(keepends=True)[5:]
    console = "".join(line for line in lines if not line.startswith("Status: "))
    assert console.startswith("".join(transcript))
    assert console[len("".join(transcript)):].startswith("Consulted OK\n")


def test_the_callback_aborts_with_none_or_by_raising():
    kb = quorvin.KnowledgeBase(CAR)
    asked = []
    aborted = kb.consult(callback=lambda q: asked.append(q.name))
    assert aborted.status == "aborted"
    assert aborted.status_text == "Consultation aborted."
    assert asked == ["engine_cranks"]

    class HostGaveUp(Exception):
        pass

    def give_up(question):
        raise HostGaveUp(question.name)

    with pytest.raises(HostGaveUp, match="engine_cranks"):
        kb.consult(callback=give_up)
    # The map is asked first; the callback only for what it leaves.
    rest = []
    result = kb.consult({"engine_cranks": "n"}, callback=lambda q: rest.append(q.name) or "")
    assert result.status == "ok"
    assert "engine_cranks" not in rest and rest
