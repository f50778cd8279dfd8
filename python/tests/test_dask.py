"""The same cases on a Dask cluster of two worker processes as in one
process: every goal value equal, in the order of the cases."""

import pytest

import quorvin
from conftest import SOURCE
from test_many import car_cases

CAR = SOURCE / "examples" / "car.qvb"
distributed = pytest.importorskip("distributed")
dask_bag = pytest.importorskip("dask.bag")


@pytest.fixture(scope="module")
def client():
    with distributed.LocalCluster(n_workers=2, threads_per_worker=2, processes=True,
                                  dashboard_address=None) as cluster, distributed.Client(cluster) as client:
        yield client


def test_a_bag_of_cases_on_two_workers_equals_the_sequential_run(client):
    import quorvin.dask

    cases = car_cases(10000, seed=7)
    cases[1234] = {"no_such_node": "1"}
    expected = [(r.status, r.goal_values()) for r in quorvin.KnowledgeBase(CAR).consult_many(cases, threads=1)]
    bag = dask_bag.from_sequence(cases, npartitions=16)
    results = quorvin.dask.consult_bag(CAR, bag).compute()
    assert [(r["status"], r["goals"]) for r in results] == expected
    assert results[1234]["status"] == "invalid"
    workers = client.run(lambda: __import__("os").getpid())
    assert len(set(workers.values())) == 2


def test_a_worker_that_dies_has_its_partitions_run_again(client, tmp_path):
    import os

    import quorvin.dask

    marker = tmp_path / "a worker died"

    def die_once(cases):
        # The first partition to arrive ends its worker process.
        if not marker.exists():
            marker.write_text(str(os.getpid()))
            os._exit(1)
        return cases

    cases = car_cases(2000, seed=11)
    expected = [(r.status, r.goal_values()) for r in quorvin.KnowledgeBase(CAR).consult_many(cases, threads=1)]
    bag = dask_bag.from_sequence(cases, npartitions=8).map_partitions(die_once)
    results = quorvin.dask.consult_bag(CAR, bag).compute()
    assert marker.exists()
    assert [(r["status"], r["goals"]) for r in results] == expected


def test_a_dask_data_frame_gives_the_rows_of_consult_frame(client):
    pandas = pytest.importorskip("pandas")
    dask_frame = pytest.importorskip("dask.dataframe")
    import quorvin.dask

    frame = pandas.DataFrame(car_cases(2000, seed=3))
    expected = quorvin.KnowledgeBase(CAR).consult_frame(frame, threads=1)
    result = quorvin.dask.consult_dataframe(CAR, dask_frame.from_pandas(frame, npartitions=5)).compute()
    pandas.testing.assert_frame_equal(result, expected)


def test_a_knowledge_base_that_does_not_build_fails_before_the_cluster_runs(tmp_path, client):
    import quorvin.dask

    broken = tmp_path / "broken.qvb"
    broken.write_text("nodes { a { (bayesian, 1.4, goal) } }\n")
    with pytest.raises(quorvin.BuildError):
        quorvin.dask.consult_bag(broken, dask_bag.from_sequence([{}]))
