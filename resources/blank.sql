-- The template of every new survey file. The program creates no tables: a new survey is a byte
-- copy of the database built from this text.
PRAGMA journal_mode = DELETE;

CREATE TABLE version (
    version REAL
);
INSERT INTO version (version) VALUES (1.7);

CREATE TABLE question (
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    question TEXT,
    questionno TEXT,
    qtype INTEGER,
    pos INTEGER,
    deleteme INTEGER NOT NULL DEFAULT 0
);

CREATE TABLE response (
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    questionid INTEGER,
    name TEXT NOT NULL DEFAULT '',
    pos INTEGER,
    responseMatrixGroupID INTEGER,
    LogicJumpToQuestionID INTEGER,
    deleteme INTEGER NOT NULL DEFAULT 0
);

CREATE TABLE responsematrixgroup (
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    name TEXT
);

CREATE TABLE responsematrix (
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    name TEXT,
    responsematrixgroupid INTEGER,
    pos INTEGER
);

CREATE TABLE respondent (
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    submitteddate TEXT DEFAULT (datetime('now', 'localtime')),
    source TEXT
);

CREATE TABLE Respondent_Responses (
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    QuestionID INTEGER,
    RespondentID INTEGER,
    ResponseID INTEGER,
    SimpleResponse TEXT,
    ResponseMatrixID INTEGER
);

-- Answer counts per response and question (summary, chart), per matrix row and column, and a
-- respondent's answers to one question (answer entry, detailed report, export).
CREATE INDEX ix_answer_response_question ON Respondent_Responses (ResponseID, QuestionID);
CREATE INDEX ix_answer_response_column ON Respondent_Responses (ResponseID, ResponseMatrixID);
CREATE INDEX ix_answer_respondent_question ON Respondent_Responses (RespondentID, QuestionID);
CREATE INDEX ix_response_question ON response (questionid, pos);
CREATE INDEX ix_question_pos ON question (pos);
CREATE INDEX ix_respondent_date ON respondent (submitteddate);
CREATE INDEX ix_column_scale ON responsematrix (responsematrixgroupid, pos);

-- Scale 1 is the default of every question read from a file and is never offered in a list.
INSERT INTO responsematrixgroup (id, name) VALUES (1, 'Default');
INSERT INTO responsematrix (name, responsematrixgroupid, pos) VALUES
    ('Strongly Disagree', 1, 0), ('Disagree', 1, 1), ('Neutral', 1, 2), ('Agree', 1, 3),
    ('Strongly Agree', 1, 4);

-- Ready-made scales offered for matrix questions.
INSERT INTO responsematrixgroup (id, name) VALUES
    (2, 'Agreement'), (3, 'Quality'), (4, 'Satisfaction'), (5, 'Frequency'), (6, 'Yes or No');
INSERT INTO responsematrix (name, responsematrixgroupid, pos) VALUES
    ('Strongly Disagree', 2, 0), ('Disagree', 2, 1), ('Neutral', 2, 2), ('Agree', 2, 3),
    ('Strongly Agree', 2, 4),
    ('Very Poor', 3, 0), ('Poor', 3, 1), ('Fair', 3, 2), ('Good', 3, 3), ('Excellent', 3, 4),
    ('Very Dissatisfied', 4, 0), ('Dissatisfied', 4, 1), ('Neutral', 4, 2), ('Satisfied', 4, 3),
    ('Very Satisfied', 4, 4),
    ('Never', 5, 0), ('Rarely', 5, 1), ('Sometimes', 5, 2), ('Often', 5, 3), ('Always', 5, 4),
    ('Yes', 6, 0), ('No', 6, 1);
