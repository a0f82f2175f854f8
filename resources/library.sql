-- The question library: ready-made questions by category, read only by the program.
CREATE TABLE category (
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    name TEXT
);
CREATE TABLE question (
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    name TEXT,
    categoryid INTEGER
);
CREATE INDEX ix_question_category ON question (categoryid, name);

-- Demographics
INSERT INTO category (id, name) VALUES (1, 'Demographics');
INSERT INTO question (name, categoryid) VALUES ('What is your age group?', 1);
INSERT INTO question (name, categoryid) VALUES ('What is your gender?', 1);
INSERT INTO question (name, categoryid) VALUES ('What is your marital status?', 1);
INSERT INTO question (name, categoryid) VALUES ('How many people live in your household, including yourself?', 1);
INSERT INTO question (name, categoryid) VALUES ('How many children under 18 live in your household?', 1);
INSERT INTO question (name, categoryid) VALUES ('What is the highest level of education you have completed?', 1);
INSERT INTO question (name, categoryid) VALUES ('Which of the following best describes your current employment status?', 1);
INSERT INTO question (name, categoryid) VALUES ('What is your occupation?', 1);
INSERT INTO question (name, categoryid) VALUES ('Which of the following ranges includes your total household income before tax?', 1);
INSERT INTO question (name, categoryid) VALUES ('In which country do you currently live?', 1);
INSERT INTO question (name, categoryid) VALUES ('Which of the following best describes the area where you live?', 1);
INSERT INTO question (name, categoryid) VALUES ('Do you own or rent your home?', 1);
INSERT INTO question (name, categoryid) VALUES ('What is your first language?', 1);

-- Customer Satisfaction
INSERT INTO category (id, name) VALUES (2, 'Customer Satisfaction');
INSERT INTO question (name, categoryid) VALUES ('Overall, how satisfied are you with our service?', 2);
INSERT INTO question (name, categoryid) VALUES ('How satisfied are you with the quality of the products you received?', 2);
INSERT INTO question (name, categoryid) VALUES ('How satisfied are you with the value for money we offer?', 2);
INSERT INTO question (name, categoryid) VALUES ('How would you rate the friendliness and helpfulness of our staff?', 2);
INSERT INTO question (name, categoryid) VALUES ('How quickly was your enquiry or request dealt with?', 2);
INSERT INTO question (name, categoryid) VALUES ('Was your problem resolved to your satisfaction?', 2);
INSERT INTO question (name, categoryid) VALUES ('How easy was it to contact us?', 2);
INSERT INTO question (name, categoryid) VALUES ('How long have you been a customer of ours?', 2);
INSERT INTO question (name, categoryid) VALUES ('How likely are you to use our services again?', 2);
INSERT INTO question (name, categoryid) VALUES ('How likely are you to recommend us to a friend or colleague?', 2);
INSERT INTO question (name, categoryid) VALUES ('Compared with other providers you have used, how would you rate our service?', 2);
INSERT INTO question (name, categoryid) VALUES ('What is the one thing we could do to improve our service?', 2);
INSERT INTO question (name, categoryid) VALUES ('Is there anything else you would like to tell us about your experience?', 2);

-- Employee Engagement
INSERT INTO category (id, name) VALUES (3, 'Employee Engagement');
INSERT INTO question (name, categoryid) VALUES ('How satisfied are you with your job overall?', 3);
INSERT INTO question (name, categoryid) VALUES ('How clearly do you understand what is expected of you in your role?', 3);
INSERT INTO question (name, categoryid) VALUES ('Do you have the tools and resources you need to do your job well?', 3);
INSERT INTO question (name, categoryid) VALUES ('How often do you receive useful feedback on your work?', 3);
INSERT INTO question (name, categoryid) VALUES ('How satisfied are you with the recognition you receive for good work?', 3);
INSERT INTO question (name, categoryid) VALUES ('How would you rate communication between management and staff?', 3);
INSERT INTO question (name, categoryid) VALUES ('How well does your manager support you in your work?', 3);
INSERT INTO question (name, categoryid) VALUES ('How satisfied are you with the opportunities for training and development?', 3);
INSERT INTO question (name, categoryid) VALUES ('Do you feel you can balance your work and personal life?', 3);
INSERT INTO question (name, categoryid) VALUES ('How fairly do you feel you are paid for the work you do?', 3);
INSERT INTO question (name, categoryid) VALUES ('How proud are you to tell others where you work?', 3);
INSERT INTO question (name, categoryid) VALUES ('How likely are you to still be working here in two years'' time?', 3);
INSERT INTO question (name, categoryid) VALUES ('What one change would make this a better place to work?', 3);

-- Health and Wellbeing
INSERT INTO category (id, name) VALUES (4, 'Health and Wellbeing');
INSERT INTO question (name, categoryid) VALUES ('In general, how would you describe your health?', 4);
INSERT INTO question (name, categoryid) VALUES ('On how many days in a typical week do you do at least 30 minutes of physical activity?', 4);
INSERT INTO question (name, categoryid) VALUES ('How many portions of fruit and vegetables do you eat on a typical day?', 4);
INSERT INTO question (name, categoryid) VALUES ('On average, how many hours of sleep do you get each night?', 4);
INSERT INTO question (name, categoryid) VALUES ('How would you rate the quality of your sleep?', 4);
INSERT INTO question (name, categoryid) VALUES ('How often do you feel stressed?', 4);
INSERT INTO question (name, categoryid) VALUES ('Do you smoke or use any tobacco products?', 4);
INSERT INTO question (name, categoryid) VALUES ('How often do you drink alcohol?', 4);
INSERT INTO question (name, categoryid) VALUES ('When did you last visit a doctor or health professional for a check-up?', 4);
INSERT INTO question (name, categoryid) VALUES ('How satisfied are you with your access to local health services?', 4);
INSERT INTO question (name, categoryid) VALUES ('How would you rate your overall wellbeing at the moment?', 4);
INSERT INTO question (name, categoryid) VALUES ('Do you have a long-term health condition or disability that affects your daily activities?', 4);
INSERT INTO question (name, categoryid) VALUES ('What, if anything, would help you to lead a healthier life?', 4);

-- Education and Training
INSERT INTO category (id, name) VALUES (5, 'Education and Training');
INSERT INTO question (name, categoryid) VALUES ('What is the title of the course or training you attended?', 5);
INSERT INTO question (name, categoryid) VALUES ('How would you rate the course overall?', 5);
INSERT INTO question (name, categoryid) VALUES ('How well did the course meet its stated objectives?', 5);
INSERT INTO question (name, categoryid) VALUES ('How relevant was the content to your needs?', 5);
INSERT INTO question (name, categoryid) VALUES ('How would you rate the knowledge of the instructor?', 5);
INSERT INTO question (name, categoryid) VALUES ('How clearly was the material presented?', 5);
INSERT INTO question (name, categoryid) VALUES ('How appropriate was the pace of the course?', 5);
INSERT INTO question (name, categoryid) VALUES ('How useful were the course materials and handouts?', 5);
INSERT INTO question (name, categoryid) VALUES ('How would you rate the training facilities?', 5);
INSERT INTO question (name, categoryid) VALUES ('How confident are you that you can apply what you have learned?', 5);
INSERT INTO question (name, categoryid) VALUES ('Which part of the course did you find most useful?', 5);
INSERT INTO question (name, categoryid) VALUES ('Would you recommend this course to others?', 5);
INSERT INTO question (name, categoryid) VALUES ('What topics would you like to see covered in future courses?', 5);

-- Events
INSERT INTO category (id, name) VALUES (6, 'Events');
INSERT INTO question (name, categoryid) VALUES ('How did you hear about this event?', 6);
INSERT INTO question (name, categoryid) VALUES ('What was your main reason for attending this event?', 6);
INSERT INTO question (name, categoryid) VALUES ('Overall, how satisfied were you with the event?', 6);
INSERT INTO question (name, categoryid) VALUES ('How would you rate the event venue?', 6);
INSERT INTO question (name, categoryid) VALUES ('How convenient was the date and time of the event?', 6);
INSERT INTO question (name, categoryid) VALUES ('How easy was it to register for the event?', 6);
INSERT INTO question (name, categoryid) VALUES ('How would you rate the quality of the speakers or presenters?', 6);
INSERT INTO question (name, categoryid) VALUES ('How would you rate the food and refreshments?', 6);
INSERT INTO question (name, categoryid) VALUES ('How would you rate the value for money of the event?', 6);
INSERT INTO question (name, categoryid) VALUES ('Which session or activity did you enjoy most?', 6);
INSERT INTO question (name, categoryid) VALUES ('Would you attend this event again in the future?', 6);
INSERT INTO question (name, categoryid) VALUES ('How could we improve this event next time?', 6);

-- Product Feedback
INSERT INTO category (id, name) VALUES (7, 'Product Feedback');
INSERT INTO question (name, categoryid) VALUES ('Which of our products do you use?', 7);
INSERT INTO question (name, categoryid) VALUES ('How long have you been using this product?', 7);
INSERT INTO question (name, categoryid) VALUES ('How often do you use this product?', 7);
INSERT INTO question (name, categoryid) VALUES ('Where did you buy this product?', 7);
INSERT INTO question (name, categoryid) VALUES ('What was the main reason you chose this product?', 7);
INSERT INTO question (name, categoryid) VALUES ('Overall, how satisfied are you with this product?', 7);
INSERT INTO question (name, categoryid) VALUES ('How would you rate the quality of this product?', 7);
INSERT INTO question (name, categoryid) VALUES ('How easy is this product to use?', 7);
INSERT INTO question (name, categoryid) VALUES ('How well does this product meet your needs?', 7);
INSERT INTO question (name, categoryid) VALUES ('How would you rate this product compared with similar products?', 7);
INSERT INTO question (name, categoryid) VALUES ('Which feature of this product do you value most?', 7);
INSERT INTO question (name, categoryid) VALUES ('Have you experienced any problems with this product?', 7);
INSERT INTO question (name, categoryid) VALUES ('What, if anything, would you change about this product?', 7);

-- Contact Details
INSERT INTO category (id, name) VALUES (8, 'Contact Details');
INSERT INTO question (name, categoryid) VALUES ('What is your full name?', 8);
INSERT INTO question (name, categoryid) VALUES ('What is your job title?', 8);
INSERT INTO question (name, categoryid) VALUES ('What is the name of your organisation?', 8);
INSERT INTO question (name, categoryid) VALUES ('What is your street address?', 8);
INSERT INTO question (name, categoryid) VALUES ('What is your town or city?', 8);
INSERT INTO question (name, categoryid) VALUES ('What is your postcode or ZIP code?', 8);
INSERT INTO question (name, categoryid) VALUES ('What is your country?', 8);
INSERT INTO question (name, categoryid) VALUES ('What is your email address?', 8);
INSERT INTO question (name, categoryid) VALUES ('What is your daytime telephone number?', 8);
INSERT INTO question (name, categoryid) VALUES ('What is your mobile telephone number?', 8);
INSERT INTO question (name, categoryid) VALUES ('How would you prefer to be contacted?', 8);
INSERT INTO question (name, categoryid) VALUES ('What is the best time of day to contact you?', 8);
INSERT INTO question (name, categoryid) VALUES ('May we contact you about the results of this survey?', 8);

-- Website and Online Services
INSERT INTO category (id, name) VALUES (9, 'Website and Online Services');
INSERT INTO question (name, categoryid) VALUES ('How often do you visit our website?', 9);
INSERT INTO question (name, categoryid) VALUES ('What was the main purpose of your visit to our website today?', 9);
INSERT INTO question (name, categoryid) VALUES ('Were you able to find what you were looking for?', 9);
INSERT INTO question (name, categoryid) VALUES ('How easy is it to find your way around our website?', 9);
INSERT INTO question (name, categoryid) VALUES ('How would you rate the appearance of our website?', 9);
INSERT INTO question (name, categoryid) VALUES ('How useful is the information on our website?', 9);
INSERT INTO question (name, categoryid) VALUES ('How would you rate the speed of our website?', 9);
INSERT INTO question (name, categoryid) VALUES ('How satisfied are you with our online ordering or booking service?', 9);
INSERT INTO question (name, categoryid) VALUES ('Which device do you mainly use to visit our website?', 9);
INSERT INTO question (name, categoryid) VALUES ('How secure do you feel when using our online services?', 9);
INSERT INTO question (name, categoryid) VALUES ('What additional information or services would you like to see on our website?', 9);
INSERT INTO question (name, categoryid) VALUES ('Overall, how satisfied are you with our online services?', 9);

-- Community
INSERT INTO category (id, name) VALUES (10, 'Community');
INSERT INTO question (name, categoryid) VALUES ('How long have you lived in this area?', 10);
INSERT INTO question (name, categoryid) VALUES ('Overall, how satisfied are you with this area as a place to live?', 10);
INSERT INTO question (name, categoryid) VALUES ('How safe do you feel walking alone in your area after dark?', 10);
INSERT INTO question (name, categoryid) VALUES ('How would you rate local public transport?', 10);
INSERT INTO question (name, categoryid) VALUES ('How satisfied are you with local parks and open spaces?', 10);
INSERT INTO question (name, categoryid) VALUES ('How satisfied are you with the cleanliness of the streets in your area?', 10);
INSERT INTO question (name, categoryid) VALUES ('How well do you feel informed about what is happening in your local area?', 10);
INSERT INTO question (name, categoryid) VALUES ('How often do you take part in local community activities or groups?', 10);
INSERT INTO question (name, categoryid) VALUES ('Have you done any voluntary work in the past 12 months?', 10);
INSERT INTO question (name, categoryid) VALUES ('To what extent do you feel you belong to your local neighbourhood?', 10);
INSERT INTO question (name, categoryid) VALUES ('Which local services or facilities are most important to you?', 10);
INSERT INTO question (name, categoryid) VALUES ('What would most improve your local area?', 10);
