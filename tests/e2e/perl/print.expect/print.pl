#!/usr/bin/perl 



$false = 0;
$true = 1;

$greeting = "hi there";
$count = 42;
$rate = 2.5;
printf("hello\tworld\n");
printf($greeting);
printf("\n");
printf("%i",$count);
printf("\n");
printf("%d",$rate);
printf("\n");
