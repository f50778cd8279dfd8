"""consult_many and consult_frame: many cases on several threads give the
results of one consultation after the other, in the order of the cases."""

import random
import time

import pytest

import quorvin
from conftest import SOURCE

CAR = SOURCE / "examples" / "car.qvb"


def car_cases(count, seed=1):
    rng = random.Random(seed)
    return [{
        "engine_cranks": rng.choice(["y", "n", "2", "-3", ""]),
        "rapid_clicking": rng.choice(["y", "n"]),
        "lights_bright": str(rng.randint(-5, 5)),
        "voltage_ok": round(rng.uniform(10.0, 13.0), 1),
        "battery_old": rng.randint(1, 9),
        "tank_empty": rng.randint(1, 3),
        "petrol_smell": rng.choice(["y", "n"]),
    } for _ in range(count)]


def outcome(result):
    return result.status, [(g.name, g.current) for g in result.goals]


def test_consult_many_equals_one_after_the_other():
    kb = quorvin.KnowledgeBase(CAR)
    cases = car_cases(300)
    cases[17] = {"no_such_node": "y"}
    cases[42] = {"engine_cranks": "perhaps"}
    sequential = [outcome(kb.consult(case)) for case in cases]
    parallel = [outcome(r) for r in kb.consult_many(iter(cases), threads=4)]
    assert parallel == sequential
    assert sequential[17][0] == "invalid" and sequential[42][0] == "error"
    assert len({tuple(goals) for status, goals in sequential}) > 50  # the cases differ
    assert kb.consult_many([]) == []
    with pytest.raises(TypeError, match="answers must be a mapping"):
        kb.consult_many(["engine_cranks"])


def test_consult_frame_gives_one_row_of_goal_values_per_case():
    pandas = pytest.importorskip("pandas")
    kb = quorvin.KnowledgeBase(CAR)
    cases = car_cases(40)
    frame = pandas.DataFrame(cases, index=[f"case{i}" for i in range(40)])
    frame.loc["case3", "voltage_ok"] = float("nan")  # no answer
    frame.loc["case5", "engine_cranks"] = "perhaps"
    # A column of numpy booleans answers yes and no.
    smell = pandas.Series([c["petrol_smell"] == "y" for c in cases], index=frame.index, dtype=bool)
    frame["petrol_smell"] = smell
    values = kb.consult_frame(frame, threads=2)
    assert list(values.columns) == kb.goals + ["status"]
    assert list(values.index) == list(frame.index)
    for name in (n for n in frame.index if n != "case5"):
        row = {k: v for k, v in cases[int(name[4:])].items() if not (name == "case3" and k == "voltage_ok")}
        expected = kb.consult(row).goal_values()
        assert values.loc[name, kb.goals].tolist() == [expected[g] for g in kb.goals]
    assert values.loc["case5", "status"] == "error"
    assert values.loc["case5", kb.goals].isna().all()

    frame["claim"] = range(40)
    with pytest.raises(ValueError, match="claim"):
        kb.consult_frame(frame)
    chosen = kb.consult_frame(frame, answer_columns=[c for c in frame.columns if c != "claim"])
    assert chosen.equals(values)
    # consult_many iterates a frame's column names: it points to consult_frame.
    with pytest.raises(TypeError, match="consult_frame"):
        kb.consult_many(frame)


@pytest.mark.benchmark
def test_consult_many_scales_with_threads():
    kb = quorvin.KnowledgeBase(CAR)
    cases = car_cases(20000)
    timings = {}
    for threads in (1, 2, 4):
        start = time.perf_counter()
        kb.consult_many(cases, threads=threads)
        timings[threads] = time.perf_counter() - start
    print("consult_many seconds by threads:", timings)
