#!/usr/bin/perl 



$false = 0;
$true = 1;

printf("before\n");
printf("after\n");
