"""Consult Quorvin knowledge bases in-process.

    import quorvin
    kb = quorvin.KnowledgeBase("car.qvb")
    result = kb.consult({"engine_cranks": "n", "voltage_ok": 11.6})
    result.status, result.goal_values()

KnowledgeBase.consult runs one consultation (with an optional question
callback), consult_many runs many on several threads, and consult_frame
consults one case per row of a pandas data frame. quorvin.dask runs the same
on a Dask cluster.
"""

from quorvin._quorvin import BuildError, Goal, KnowledgeBase, Node, Question, Result

__all__ = ["BuildError", "Goal", "KnowledgeBase", "Node", "Question", "Result"]


def _consult_frame(self, frame, *, answer_columns=None, threads=None):
    """Consults one case per row of a pandas DataFrame.

    The answer columns (all columns unless answer_columns names them) are
    node, parameter or taxonomy names, and each cell is that row's answer;
    an empty cell (None, NaN) is no answer. A column that names nothing of
    the knowledge base raises ValueError before anything is consulted.
    Returns a DataFrame with the same index: one column per goal, in
    declaration order, with its a-posteriori value, and a column "status"
    ('ok', 'error', 'aborted'); a row that did not consult ok has NaN goals.
    """
    import pandas

    columns = list(frame.columns if answer_columns is None else answer_columns)
    known = set(self.nodes) | set(self.parameters) | set(self.taxonomies)
    unknown = [str(c) for c in columns if c not in known]
    if unknown:
        raise ValueError(
            "columns that name no node, parameter or taxonomy: " + ", ".join(unknown)
            + " (answer_columns= chooses the answer columns)"
        )
    cases = frame[columns].to_dict("records")
    results = self.consult_many(cases, threads=threads)
    nan = float("nan")
    rows = []
    for result in results:
        values = result.goal_values() if result.status == "ok" else {}
        rows.append([values.get(goal, nan) for goal in self.goals] + [result.status])
    return pandas.DataFrame(rows, index=frame.index, columns=list(self.goals) + ["status"])


KnowledgeBase.consult_frame = _consult_frame
