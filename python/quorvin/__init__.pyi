from quorvin._quorvin import BuildError as BuildError
from quorvin._quorvin import Goal as Goal
from quorvin._quorvin import KnowledgeBase as KnowledgeBase
from quorvin._quorvin import Node as Node
from quorvin._quorvin import Question as Question
from quorvin._quorvin import Result as Result
