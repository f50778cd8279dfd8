"""Consulting a Dask bag or data frame of cases on a Dask cluster.

    import dask.bag, quorvin.dask
    from distributed import Client
    client = Client("scheduler:8786")             # or a LocalCluster
    cases = dask.bag.from_sequence(list_of_answer_dicts, npartitions=64)
    results = quorvin.dask.consult_bag("claims.qvb", cases).compute()

Every worker process loads the knowledge base once (again only when the
file changes) and consults its partitions in-process, with the GIL released
so that a worker's threads run in parallel. The results come back in the
order of the cases. The knowledge base is named by its path, which must be
readable on every worker (a shared file system, or the same path on every
machine). A task whose worker dies is run again by Dask; a consultation is a
pure function of the knowledge base and the case, so the results stay exact.
"""

import functools
import os

import quorvin

__all__ = ["consult_bag", "consult_dataframe"]


@functools.lru_cache(maxsize=8)
def _loaded(path, modified, size):
    return quorvin.KnowledgeBase(path)


def _knowledge_base(path):
    """The knowledge base of this process, built once per version of the file."""
    info = os.stat(path)
    return _loaded(path, info.st_mtime_ns, info.st_size)


def _as_dict(result):
    return {
        "status": result.status,
        "error": result.error,
        "goals": result.goal_values(),
        "explanations": dict(result.explanations),
    }


def _consult_partition(cases, path, explain):
    results = _knowledge_base(path).consult_many(list(cases), threads=1, explain=explain)
    return [_as_dict(result) for result in results]


def consult_bag(path, bag, *, explain=False):
    """A bag of results, one per case of `bag` (a bag of answer mappings),
    in the same order: dicts with "status", "error", "goals" (goal name to
    a-posteriori value) and "explanations" (filled when explain=True)."""
    path = os.path.abspath(os.fspath(path))
    quorvin.KnowledgeBase(path)  # a knowledge base that does not build fails here, not on the workers
    return bag.map_partitions(_consult_partition, path, explain)


def _consult_frame_partition(frame, path, answer_columns):
    return _knowledge_base(path).consult_frame(frame, answer_columns=answer_columns, threads=1)


def consult_dataframe(path, frame, *, answer_columns=None):
    """A Dask data frame with one row per row of `frame` and the same index:
    one column per goal with its a-posteriori value, and "status", as
    KnowledgeBase.consult_frame gives them."""
    import pandas

    path = os.path.abspath(os.fspath(path))
    goals = quorvin.KnowledgeBase(path).goals
    meta = pandas.DataFrame({**{goal: pandas.Series(dtype="float64") for goal in goals},
                             "status": pandas.Series(dtype="object")})
    return frame.map_partitions(_consult_frame_partition, path, answer_columns, meta=meta)
